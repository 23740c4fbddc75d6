#pragma once
// The DPI of the monitor a window is on, and what it takes to turn a layout
// in twips into the window system's pixels there.
#include <windows.h>

#include "ui/layout/pixels.h"
#include "ui/layout/twip_rect.h"

namespace lk::ui {

RECT TwipRectToPixels(const TwipRect& r, UINT dpi);
UINT DpiOf(HWND hwnd);
// A font height for CreateFont: negative, so it names the character height.
int PointsToFontHeight(double points, UINT dpi);

// WM_DPICHANGED: the window moves to the rectangle the system suggests for
// the new monitor; answers the new DPI, for the window to lay itself out in.
UINT MoveForDpiChange(HWND hwnd, WPARAM wParam, LPARAM lParam);

// The outer size of a window whose client area is given in twips.
SIZE OuterSizeForClient(int clientTwipsWide, int clientTwipsHigh, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace lk::ui
