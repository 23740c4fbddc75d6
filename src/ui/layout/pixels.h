#pragma once
// Layouts are in twips; the window system wants pixels of the monitor the
// window is on: pixels = round(twips x dpi / 1440).
#include "ui/layout/twip_rect.h"

namespace lk::ui {

inline constexpr int kTwipsPerInch = 1440;

struct PixelRect {
  int left;
  int top;
  int width;
  int height;
};

int TwipsToPixels(int twips, unsigned dpi);
// The corner and the size are rounded each on its own, not the far edges:
// controls of one design size (the keypad's keys) stay alike in pixels
// wherever they stand.
PixelRect ToPixels(const TwipRect& r, unsigned dpi);

}  // namespace lk::ui
