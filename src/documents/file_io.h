#pragma once
// The few file operations the document layer needs beyond std::filesystem:
// stdio handles opened by a path that may hold Devanagari (wide on Windows,
// UTF-8 elsewhere), a file created only if it does not exist yet, and a
// rename that refuses to replace.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace lk::documents {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// mode as fopen takes it ("rb", "wb", "r+b"); null on failure, errno set.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// Creates an empty file, failing with std::errc::file_exists when anything
// is already there, so that two writers never share one name.
std::error_code CreateNewFile(const std::filesystem::path& path);

// Moves from to to unless to exists, in one step wherever the system has
// one: std::errc::file_exists when it does.
std::error_code RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to);

// 64-bit positions on both systems.
int SeekFile(std::FILE* file, std::uint64_t offset, int origin);
std::int64_t TellFile(std::FILE* file);

}  // namespace lk::documents
