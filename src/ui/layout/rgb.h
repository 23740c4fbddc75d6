#pragma once
#include <cstdint>

namespace lk::ui {

// A design colour, turned into the window system's own form only where a
// brush or a text colour is made.
struct Rgb {
  std::uint8_t r;
  std::uint8_t g;
  std::uint8_t b;
  bool operator==(const Rgb&) const = default;
};

// The palette the toolbar and the dialogs share: the customizable buttons'
// light cyan (also the Customize dialog's swatch) and the others.
inline constexpr Rgb kLightCyan{128, 255, 255};
inline constexpr Rgb kCyan{0, 255, 255};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kGrey{192, 192, 192};

}  // namespace lk::ui
