#include "ui/common/startup_trace_win.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace lk::ui {
namespace {

ULONGLONG Ticks(const FILETIME& time) { return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

class Trace {
 public:
  Trace() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"LK_STARTUP_TRACE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    file_ = ::_wfopen(path, L"a");
    FILETIME created{}, exited{}, kernel{}, user{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    created_ = Ticks(created);
  }
  ~Trace() {
    if (file_) std::fclose(file_);
  }
  Trace(const Trace&) = delete;
  Trace& operator=(const Trace&) = delete;

  void Mark(const char* step, bool last) {
    if (!file_) return;
    FILETIME now{};
    ::GetSystemTimePreciseAsFileTime(&now);
    const double ms = static_cast<double>(Ticks(now) - created_) / 10000.0;
    std::fprintf(file_, "%8.1f ms  %s\n", ms, step);
    std::fflush(file_);
    if (last) {
      std::fclose(file_);
      file_ = nullptr;
    }
  }

 private:
  std::FILE* file_ = nullptr;
  ULONGLONG created_ = 0;
};

}  // namespace

void TraceStartup(const char* step, bool last) {
  static Trace trace;
  trace.Mark(step, last);
}

}  // namespace lk::ui
