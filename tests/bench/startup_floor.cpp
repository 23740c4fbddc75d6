// The floor under the toolbar's start-up: what Wine costs a MinGW program that
// does nothing but start and show one window, or that window with 224 owner-
// drawn button children created hidden at their places and shown once. It
// raises the toolbar's readiness property when painted, so scripts/bench-startup
// times it the same way as the toolbar and notepad.
//   lk_startup_floor.exe [window|keys]
// With LK_STARTUP_TRACE naming a file it appends the milliseconds since its
// process was created at entry and once painted.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr int kKeys = 224;
constexpr int kColumns = 32;
constexpr int kKeySize = 24;

ULONGLONG Ticks(const FILETIME& time) { return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

void Trace(const char* step) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"LK_STARTUP_TRACE", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  FILETIME created{}, exited{}, kernel{}, user{}, now{};
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  ::GetSystemTimePreciseAsFileTime(&now);
  if (std::FILE* file = ::_wfopen(path, L"a")) {
    std::fprintf(file, "%8.1f ms  floor %s\n", static_cast<double>(Ticks(now) - Ticks(created)) / 10000.0, step);
    std::fclose(file);
  }
}

LRESULT CALLBACK FloorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      RECT rc = item.rcItem;
      ::FillRect(item.hDC, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
      ::DrawEdge(item.hDC, &rc, EDGE_RAISED, BF_RECT);
      wchar_t caption[2] = {static_cast<wchar_t>(L' ' + item.CtlID % 95), 0};
      ::SetBkMode(item.hDC, TRANSPARENT);
      ::DrawTextW(item.hDC, caption, 1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      return TRUE;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR args, int) {
  Trace("entry");
  const bool keys = args && std::wcsstr(args, L"keys");
  WNDCLASSW cls{};
  cls.lpfnWndProc = &FloorProc;
  cls.hInstance = instance;
  cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
  cls.lpszClassName = L"LekhopakarFloor";
  ::RegisterClassW(&cls);
  HWND window = ::CreateWindowExW(WS_EX_TOPMOST, cls.lpszClassName, L"Lekhopakar floor",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 100, 100,
                                  kColumns * kKeySize + 16, (kKeys / kColumns) * kKeySize + 40, nullptr, nullptr,
                                  instance, nullptr);
  if (!window) return 1;
  if (keys) {
    for (int i = 0; i < kKeys; ++i) {
      const wchar_t caption[2] = {static_cast<wchar_t>(L' ' + i % 95), 0};
      ::CreateWindowExW(0, L"BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, (i % kColumns) * kKeySize,
                        (i / kColumns) * kKeySize, kKeySize, kKeySize, window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000 + i)), instance, nullptr);
    }
  }
  ::ShowWindow(window, SW_SHOW);
  ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  ::SetPropW(window, L"LekhopakarReady", reinterpret_cast<HANDLE>(INT_PTR{1}));
  Trace("shown and painted");
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
