#include "ui/layout/pixels.h"

#include <cmath>

namespace lk::ui {

int TwipsToPixels(int twips, unsigned dpi) {
  return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

PixelRect ToPixels(const TwipRect& r, unsigned dpi) {
  return {TwipsToPixels(r.left, dpi), TwipsToPixels(r.top, dpi), TwipsToPixels(r.width, dpi),
          TwipsToPixels(r.height, dpi)};
}

}  // namespace lk::ui
