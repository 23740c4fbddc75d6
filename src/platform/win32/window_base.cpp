#include "platform/win32/window_base.h"

#include "diagnostics/debug_log.h"

namespace lk::platform {

WindowBase::~WindowBase() {
  if (hwnd_ && ::IsWindow(hwnd_)) {
    // The object is going away: stop forwarding before the window dies.
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
}

void WindowBase::RegisterClassOnce(const wchar_t* className, UINT style, HCURSOR cursor, HICON icon,
                                   HBRUSH background) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (::GetClassInfoExW(::GetModuleHandleW(nullptr), className, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = &WindowBase::Thunk;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  if (!::RegisterClassExW(&wc)) diagnostics::LogFailure("RegisterClassExW failed", ::GetLastError());
}

HWND WindowBase::CreateWindowFor(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style, int x,
                                 int y, int width, int height, HWND parent, HMENU menuOrId) {
  return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menuOrId,
                           ::GetModuleHandleW(nullptr), this);
}

LRESULT CALLBACK WindowBase::Thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowBase* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  LRESULT result = 0;
  try {
    result = self->HandleMessage(msg, wParam, lParam);
  } catch (...) {
    // Unwinding through the system's frames is undefined; the message is
    // answered as if we had no handler for it, and the program goes on.
    diagnostics::LogFailure("exception stopped in a window procedure; the code is the message", msg);
    result = ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace lk::platform
