#pragma once
// One run of lekhopakar.exe: started in its program folder, found by its
// window, ended by the case (or killed when a case fails half-way).
#include <windows.h>

#include <string>

namespace lk::e2e {

inline constexpr wchar_t kToolbarTitle[] = L"Lekhopakar";
// The window property through which the toolbar tells how far its start has
// come: 1 on screen with every key captioned and painted, 2 with the work it
// left for later done too.
inline constexpr wchar_t kReadyProperty[] = L"LekhopakarReady";
inline constexpr INT_PTR kReadyShown = 1;
inline constexpr INT_PTR kReadySettled = 2;

// How far the start of the toolbar window has come (0: not begun).
inline INT_PTR ReadyStage(HWND toolbar) { return reinterpret_cast<INT_PTR>(GetPropW(toolbar, kReadyProperty)); }

class RunningProgram {
 public:
  // Starts `exePath` with `folder` as its working directory and `arguments`
  // after the program's name on its command line.
  RunningProgram(const std::wstring& exePath, const std::wstring& folder, const std::wstring& arguments = L"");
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  DWORD Pid() const { return process_.dwProcessId; }
  bool HasExited() const;
  DWORD ExitCode() const;
  // Waits (bounded) for the process to end; fails the case if it does not.
  void ExpectExit(const std::string& after);
  void Kill();
  // Waits (bounded) until the program waits for input with nothing pending.
  void WaitIdle() const;

 private:
  PROCESS_INFORMATION process_{};
};

class Toolbar {
 public:
  // Starts the exe of a program folder and waits until its "Lekhopakar"
  // window is visible and says its start is settled.
  Toolbar(const std::wstring& exePath, const std::wstring& folder);

  HWND Window() const { return window_; }
  DWORD Pid() const { return program_.Pid(); }
  // The child window with this control ID; fails the case when absent.
  HWND Control(int id) const;
  RECT Frame() const;
  // Moves the window without resizing it (so the toolbar's resize reaction
  // does not run) and waits until it stands there.
  void MoveTo(int x, int y);

  // Posts WM_CLOSE; a case that tests closing uses real input instead.
  void PostClose();
  void ExpectExit(const std::string& after) { program_.ExpectExit(after); }
  // Both: the end of a case that leaves the toolbar running.
  void Close() {
    PostClose();
    ExpectExit("after WM_CLOSE");
  }
  bool HasExited() const { return program_.HasExited(); }

 private:
  RunningProgram program_;
  HWND window_ = nullptr;
};

}  // namespace lk::e2e
