#include "ui/common/dpi.h"

#include <cmath>

#include "platform/win32/handles.h"

namespace lk::ui {

RECT TwipRectToPixels(const TwipRect& r, UINT dpi) {
  const PixelRect p = ToPixels(r, dpi);
  return {p.left, p.top, p.left + p.width, p.top + p.height};
}

UINT MoveForDpiChange(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  const auto* suggested = reinterpret_cast<const RECT*>(lParam);
  ::SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  return HIWORD(wParam);
}

UINT DpiOf(HWND hwnd) {
  // GetDpiForWindow exists from Windows 10 1607 on; older systems have one DPI.
  using Fn = UINT(WINAPI*)(HWND);
  static const auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (fn && hwnd) {
    if (const UINT dpi = fn(hwnd)) return dpi;
  }
  const platform::WindowDc screen;
  const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

int PointsToFontHeight(double points, UINT dpi) { return -static_cast<int>(std::lround(points * dpi / 72.0)); }

SIZE OuterSizeForClient(int clientTwipsWide, int clientTwipsHigh, DWORD style, DWORD exStyle, UINT dpi) {
  RECT r{0, 0, TwipsToPixels(clientTwipsWide, dpi), TwipsToPixels(clientTwipsHigh, dpi)};
  using Fn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto forDpi = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (!(forDpi && forDpi(&r, style, FALSE, exStyle, dpi))) ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace lk::ui
