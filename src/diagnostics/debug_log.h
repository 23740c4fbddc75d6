#pragma once
// A log of failures the program otherwise passes over in silence (a class
// that did not register, an exception stopped at the window system's edge),
// for a user who reports that something does nothing. Off unless LK.ini
// asks for it with [Debug] Log=1; it then goes to LK.log beside LK.ini.
//
// It says what failed and the system's error number, never what the user
// wrote, selected or copied: a line's text must be known when the program is
// built, which the type below enforces.
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

namespace lk::diagnostics {

// What failed, as written in the program: a literal, never text from outside.
class Fixed {
 public:
  template <std::size_t N>
  consteval Fixed(const char (&text)[N]) : text_(text, N - 1) {}
  std::string_view view() const { return text_; }

 private:
  std::string_view text_;
};

class DebugLog {
 public:
  // Past this size the file starts again, so a toolbar that runs for weeks
  // never fills a USB stick.
  static constexpr std::uintmax_t kDefaultCap = 256 * 1024;

  DebugLog() = default;
  DebugLog(const DebugLog&) = delete;
  DebugLog& operator=(const DebugLog&) = delete;

  // Writes to file from now on; an empty path turns the log off.
  void Open(std::filesystem::path file, std::uintmax_t cap = kDefaultCap);
  bool on() const;

  // One line: the time (UTC), what failed, and the error number when there
  // is one. Any thread may call it, and from a catch block: it never throws.
  void Note(Fixed what, std::int64_t code = 0) noexcept;

 private:
  static std::string Line(Fixed what, std::int64_t code);
  void Append(const std::string& line);

  mutable std::mutex mutex_;
  std::filesystem::path file_;
  std::uintmax_t cap_ = kDefaultCap;
  std::uintmax_t size_ = 0;
};

// The program's own log, opened once at start when LK.ini asks for it.
DebugLog& ProgramLog();
inline void LogFailure(Fixed what, std::int64_t code = 0) noexcept { ProgramLog().Note(what, code); }

// LK.log beside the settings file.
std::filesystem::path LogFileBeside(const std::filesystem::path& settingsFile);

}  // namespace lk::diagnostics
