#pragma once
// Layouts are in twips; the window system wants pixels of the monitor the
// window is on.
#include <windows.h>

#include "ui/layout/twip_rect.h"

namespace lk::ui {

inline constexpr int kTwipsPerInch = 1440;

int TwipsToPixels(int twips, UINT dpi);
RECT TwipRectToPixels(const TwipRect& r, UINT dpi);
UINT DpiOf(HWND hwnd);
// A font height for CreateFont: negative, so it names the character height.
int PointsToFontHeight(double points, UINT dpi);

// The outer size of a window whose client area is given in twips.
SIZE OuterSizeForClient(int clientTwipsWide, int clientTwipsHigh, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace lk::ui
