// A target that reads the clipboard late: an edit window titled
// "Slow Paste Target" that takes Ctrl+V itself and reads the clipboard
// 300 ms afterwards, as some applications do.
#include <windows.h>

#include "standin_frame.h"

namespace {

constexpr UINT_PTR kReadTimer = 1;
HWND g_edit = nullptr;
WNDPROC g_editProc = nullptr;

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PASTE) {
    ::SetTimer(::GetParent(hwnd), kReadTimer, 300, nullptr);
    return 0;
  }
  return ::CallWindowProcW(g_editProc, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      if (wParam == kReadTimer) {
        ::KillTimer(hwnd, kReadTimer);
        ::CallWindowProcW(g_editProc, g_edit, WM_PASTE, 0, 0);
      }
      return 0;
    default:
      return HandleFrameMessage(hwnd, msg) ? 0 : ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  HWND frame = CreateFrame(L"SlowPasteTarget", L"Slow Paste Target", FrameProc, {700, 40, 1200, 260});
  g_edit = CreateTextChild(frame, L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL);
  g_editProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
  ::SetFocus(g_edit);
  return RunMessageLoop();
}
