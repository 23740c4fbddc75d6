#pragma once
// File names reach the command as UTF-8 on every system (the Windows entry
// point turns its wide arguments into UTF-8) and go back to the user as
// UTF-8. Windows needs them widened to reach Devanagari names; elsewhere the
// bytes are the name, whatever they hold.
#include <filesystem>
#include <string>

namespace lk::cli {

inline std::filesystem::path PathFromUtf8(const std::string& name) {
#ifdef _WIN32
  return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size()));
#else
  return std::filesystem::path(name);
#endif
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
#else
  return path.native();
#endif
}

}  // namespace lk::cli
