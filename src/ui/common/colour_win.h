#pragma once
// Design colours become the window system's own form only where a brush or a
// text colour is made.
#include <windows.h>

#include "ui/layout/rgb.h"

namespace lk::ui {

constexpr COLORREF ToColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }

}  // namespace lk::ui
