#pragma once
// Design colours become the window system's own form only where a brush or a
// text colour is made.
#include <windows.h>

#include <vector>

#include "platform/win32/handles.h"
#include "ui/layout/rgb.h"

namespace lk::ui {

constexpr COLORREF ToColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }

// One solid brush per design colour, made at first use and kept as long as
// the window that paints with it.
class Brushes {
 public:
  HBRUSH Get(Rgb colour) {
    for (const auto& m : made_)
      if (m.colour == colour) return m.brush.get();
    made_.push_back({colour, platform::UniqueBrush(::CreateSolidBrush(ToColorRef(colour)))});
    return made_.back().brush.get();
  }

 private:
  struct Made {
    Rgb colour;
    platform::UniqueBrush brush;
  };
  std::vector<Made> made_;
};

}  // namespace lk::ui
