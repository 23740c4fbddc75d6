#include "documents/file_io.h"

#include <cerrno>
#include <cstdint>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace lk::documents {

namespace fs = std::filesystem;

std::FILE* OpenFile(const fs::path& path, const char* mode) {
#ifdef _WIN32
  std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(path.c_str(), wideMode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

std::error_code CreateNewFile(const fs::path& path) {
#ifdef _WIN32
  int fd = _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) return {errno, std::generic_category()};
  _close(fd);
#else
  int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return {errno, std::generic_category()};
  ::close(fd);
#endif
  return {};
}

std::error_code RenameNoReplace(const fs::path& from, const fs::path& to) {
#ifdef _WIN32
  // The C runtime's rename moves without MOVEFILE_REPLACE_EXISTING: the
  // system refuses an existing target in the same step as the move, on
  // every file system Windows writes (FAT sticks included).
  if (_wrename(from.c_str(), to.c_str()) == 0) return {};
  int error = errno;
  std::error_code ec;
  if (fs::exists(to, ec)) return std::make_error_code(std::errc::file_exists);
  return {error, std::generic_category()};
#else
  // A hard link is made only if the name is free, atomically; removing the
  // first name then leaves the file under the second alone.
  std::error_code ec;
  fs::create_hard_link(from, to, ec);
  if (!ec) {
    fs::remove(from, ec);
    return {};
  }
  if (ec == std::errc::file_exists) return ec;
  if (ec != std::errc::operation_not_permitted && ec != std::errc::operation_not_supported &&
      ec != std::errc::too_many_links && ec != std::errc::function_not_supported)
    return ec;
  // A file system without hard links (FAT, some network shares): check,
  // then rename. Two jobs publishing to one name in the instant between the
  // check and the rename could still race here; nothing better is portable.
  if (fs::exists(to, ec)) return std::make_error_code(std::errc::file_exists);
  fs::rename(from, to, ec);
  return ec;
#endif
}

int SeekFile(std::FILE* file, std::uint64_t offset, int origin) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<__int64>(offset), origin);
#else
  return fseeko(file, static_cast<off_t>(offset), origin);
#endif
}

std::int64_t TellFile(std::FILE* file) {
#ifdef _WIN32
  return _ftelli64(file);
#else
  return ftello(file);
#endif
}

}  // namespace lk::documents
