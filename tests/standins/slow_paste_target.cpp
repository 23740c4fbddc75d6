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

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = FrameProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"SlowPasteTarget";
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  ::RegisterClassW(&wc);
  HWND frame = ::CreateWindowExW(0, L"SlowPasteTarget", L"Slow Paste Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700,
                                 40, 500, 220, nullptr, nullptr, instance, nullptr);
  g_edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 500, 200,
                             frame, nullptr, instance, nullptr);
  g_editProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
  ::SetFocus(g_edit);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
