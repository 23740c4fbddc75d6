#include "diagnostics/debug_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <system_error>

namespace lk::diagnostics {
namespace {

std::string Stamp() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
#ifdef _WIN32
  gmtime_s(&utc, &now);
#else
  gmtime_r(&now, &utc);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%SZ", &utc);
  return text;
}

}  // namespace

void DebugLog::Open(std::filesystem::path file, std::uintmax_t cap) {
  const std::lock_guard lock(mutex_);
  file_ = std::move(file);
  cap_ = cap;
  std::error_code error;
  size_ = file_.empty() ? 0 : std::filesystem::file_size(file_, error);
  if (error) size_ = 0;
}

bool DebugLog::on() const {
  const std::lock_guard lock(mutex_);
  return !file_.empty();
}

void DebugLog::Note(Fixed what, std::int64_t code) noexcept {
  if (!on()) return;
  try {
    Append(Line(what, code));
  } catch (...) {
    // Out of memory or a stream that threw: the log is only ever a witness.
  }
}

std::string DebugLog::Line(Fixed what, std::int64_t code) {
  std::string line = Stamp();
  line += ' ';
  line += what.view();
  if (code != 0) {
    char number[32];
    std::snprintf(number, sizeof number, " (code %lld, 0x%llX)", static_cast<long long>(code),
                  static_cast<unsigned long long>(code) & 0xFFFFFFFFull);
    line += number;
  }
  line += '\n';
  return line;
}

void DebugLog::Append(const std::string& line) {
  const std::lock_guard lock(mutex_);
  if (file_.empty()) return;
  // A line that would pass the cap starts the file again: the newest lines
  // tell what went wrong last.
  const bool restart = size_ + line.size() > cap_;
  std::ofstream out(file_, std::ios::binary | (restart ? std::ios::trunc : std::ios::app));
  if (!out) return;  // nowhere to say it; the program goes on as without a log
  if (restart) size_ = 0;
  if (line.size() > cap_) return;
  out << line;
  out.flush();
  if (out) size_ += line.size();
}

DebugLog& ProgramLog() {
  static DebugLog log;
  return log;
}

std::filesystem::path LogFileBeside(const std::filesystem::path& settingsFile) {
  return settingsFile.parent_path() / "LK.log";
}

}  // namespace lk::diagnostics
