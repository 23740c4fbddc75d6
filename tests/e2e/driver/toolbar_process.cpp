#include "toolbar_process.h"

#include <cstdio>
#include <vector>

#include "check.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {

RunningProgram::RunningProgram(const std::wstring& exePath, const std::wstring& folder,
                               const std::wstring& arguments) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  // Under Wine a process start once failed in a long run for no cause we
  // could find or repeat; a start is tried up to three times, and each
  // failure is printed with its error so that it stays visible in the log.
  constexpr int kAttempts = 3;
  DWORD error = 0;
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    std::wstring commandLine = L"\"" + exePath + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    if (CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                       &startup, &process_) != 0)
      return;
    error = GetLastError();
    std::printf("note: CreateProcess of %s failed with error %lu (attempt %d of %d)\n", Quote(exePath).c_str(),
                static_cast<unsigned long>(error), attempt, kAttempts);
    std::fflush(stdout);
  }
  Fail("CreateProcess of " + Quote(exePath) + " failed with error " + std::to_string(error));
}

RunningProgram::~RunningProgram() {
  Kill();
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool RunningProgram::HasExited() const {
  return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
}

DWORD RunningProgram::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

void RunningProgram::ExpectExit(const std::string& after) {
  if (WaitForSingleObject(process_.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) {
    Kill();
    Fail("the process did not end within " + std::to_string(kExitTimeoutMs / 1000) + " s " + after);
  }
}

void RunningProgram::WaitIdle() const { WaitForInputIdle(process_.hProcess, kUiTimeoutMs); }

void RunningProgram::Kill() {
  if (HasExited()) return;
  TerminateProcess(process_.hProcess, 1);
  WaitForSingleObject(process_.hProcess, kExitTimeoutMs);
}

Toolbar::Toolbar(const std::wstring& exePath, const std::wstring& folder)
    : program_(exePath, folder) {
  std::vector<HWND> windows;
  const bool shown = WaitUntil(
      [&] {
        windows = TopLevelWindows(program_.Pid(), kToolbarTitle);
        return !windows.empty() || program_.HasExited();
      },
      kStartTimeoutMs, 20);
  if (program_.HasExited()) {
    Fail("the program ended (exit code " + std::to_string(program_.ExitCode()) +
         ") before showing its window");
  }
  Expect(shown, "no visible \"Lekhopakar\" window within " +
                    std::to_string(kStartTimeoutMs / 1000) + " s of the start");
  Expect(windows.size() == 1,
         "the program shows " + std::to_string(windows.size()) + " \"Lekhopakar\" windows");
  window_ = windows.front();
  // Work the toolbar leaves until after its first paint is done before any
  // case goes on.
  Expect(WaitUntil([&] { return ReadyStage(window_) == kReadySettled || program_.HasExited(); }, kStartTimeoutMs, 5) &&
             !program_.HasExited(),
         "the toolbar did not say its start was settled within " + std::to_string(kStartTimeoutMs / 1000) + " s");
  Expect(Responds(window_, kUiTimeoutMs), "the toolbar does not answer messages");
}

HWND Toolbar::Control(int id) const {
  HWND control = GetDlgItem(window_, id);
  Expect(control != nullptr, "the toolbar has no control with ID " + std::to_string(id));
  return control;
}

RECT Toolbar::Frame() const {
  RECT frame{};
  GetWindowRect(window_, &frame);
  return frame;
}

void Toolbar::MoveTo(int x, int y) {
  SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Expect(WaitUntil(
             [&] {
               const RECT frame = Frame();
               return frame.left == x && frame.top == y;
             },
             kUiTimeoutMs),
         "the toolbar window did not move to (" + std::to_string(x) + "," + std::to_string(y) +
             ")");
  Expect(Responds(window_), "the toolbar does not answer messages after being moved");
}

void Toolbar::PostClose() { PostMessageW(window_, WM_CLOSE, 0, 0); }

}  // namespace lk::e2e
