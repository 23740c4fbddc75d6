#include "bench.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "check.h"
#include "program_folder.h"
#include "toolbar_process.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {
namespace {

struct Subject {
  std::wstring exePath;
  std::wstring args;
  std::wstring folder;
  std::wstring title;           // empty: any title
  const wchar_t* className;     // nullptr: any class but dialogs
  bool awaitReady;              // the toolbar: until it says it is shown and painted
};

// A returning user's settings: the legacy test font chosen last time.
constexpr char kReturningUser[] = "[Font]\r\nLastFont=Lekhopakar Test Legacy\r\n";
constexpr wchar_t kTestFont[] = L"Lekhopakar Test Legacy";

HWND VisibleWindowOf(DWORD pid, const Subject& subject) {
  struct State {
    DWORD pid;
    const Subject* subject;
    HWND found;
  } state{pid, &subject, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<State*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s.pid || !IsWindowVisible(window)) return TRUE;
        if (s.subject->className && ClassName(window) != s.subject->className) return TRUE;
        if (!s.subject->title.empty()) {
          wchar_t title[256] = {};
          GetWindowTextW(window, title, 256);
          if (s.subject->title != title) return TRUE;
        }
        s.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&state));
  return state.found;
}

// Milliseconds from CreateProcess until the subject's window is visible and,
// for the toolbar, painted with every key captioned.
double LaunchToVisible(const Subject& subject) {
  LARGE_INTEGER frequency{}, start{}, now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  RunningProgram program(subject.exePath, subject.folder, subject.args);
  HWND window = nullptr;
  const bool shown = WaitUntil(
      [&] {
        if (!window) window = VisibleWindowOf(program.Pid(), subject);
        if (window && subject.awaitReady && ReadyStage(window) < kReadyShown) return program.HasExited();
        return window != nullptr || program.HasExited();
      },
      kStartTimeoutMs, 1);
  QueryPerformanceCounter(&now);
  Expect(shown && window, "no visible window of " + Narrow(subject.exePath));
  PostMessageW(window, WM_CLOSE, 0, 0);
  program.ExpectExit("after WM_CLOSE");
  return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void PrintSeries(const char* name, const std::vector<double>& times) {
  std::printf("%s median_ms=%.1f min_ms=%.1f max_ms=%.1f runs=%zu\n", name, Median(times),
              *std::min_element(times.begin(), times.end()),
              *std::max_element(times.begin(), times.end()), times.size());
}

}  // namespace

int BenchStartup(const std::wstring& exe, const std::wstring& workDir, int runs) {
  try {
    ProgramFolder folder(exe, workDir, L"bench_startup");
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const Subject toolbar{folder.ExePath(), L"", folder.Dir(), kToolbarTitle, nullptr, true};
    const Subject notepad{std::wstring(system) + L"\\notepad.exe", L"", folder.Dir(), L"", L"Notepad", false};
    // The floor: a program that only shows a window, bare or with 224 keys.
    const std::wstring floorExe = exe.substr(0, exe.find_last_of(L'\\')) + L"\\tests\\bench\\lk_startup_floor.exe";
    const bool withFloor = GetFileAttributesW(floorExe.c_str()) != INVALID_FILE_ATTRIBUTES;
    const Subject floorWindow{floorExe, L"window", folder.Dir(), L"Lekhopakar floor", nullptr, true};
    const Subject floorKeys{floorExe, L"keys", folder.Dir(), L"Lekhopakar floor", nullptr, true};
    Expect(FontInstalled(kTestFont), "the legacy test font is not installed in this prefix (scripts/test draws it)");

    std::vector<double> toolbarTimes, notepadTimes, floorWindowTimes, floorKeysTimes;
    for (int run = -1; run < runs; ++run) {  // run -1 warms both up
      // Every start finds the same settings (the toolbar writes its own on closing).
      folder.WriteIni(kReturningUser);
      const double toolbarMs = LaunchToVisible(toolbar);
      const double notepadMs = LaunchToVisible(notepad);
      const double floorWindowMs = withFloor ? LaunchToVisible(floorWindow) : 0;
      const double floorKeysMs = withFloor ? LaunchToVisible(floorKeys) : 0;
      if (run >= 0) {
        toolbarTimes.push_back(toolbarMs);
        notepadTimes.push_back(notepadMs);
        floorWindowTimes.push_back(floorWindowMs);
        floorKeysTimes.push_back(floorKeysMs);
      }
    }
    PrintSeries("lekhopakar", toolbarTimes);
    PrintSeries("notepad", notepadTimes);
    if (withFloor) {
      PrintSeries("floor_one_window", floorWindowTimes);
      PrintSeries("floor_224_keys", floorKeysTimes);
    }
    const double toolbarMedian = Median(toolbarTimes);
    const double notepadMedian = Median(notepadTimes);
    std::printf("lekhopakar median_ms=%.1f notepad median_ms=%.1f ratio=%.2f\n", toolbarMedian,
                notepadMedian, toolbarMedian / notepadMedian);
    return 0;
  } catch (const std::exception& error) {
    std::printf("bench-startup failed: %s\n", error.what());
    return 1;
  }
}

}  // namespace lk::e2e
