#pragma once
// How the panel over the keypad lays out its one enlarged character.
#include <cmath>

namespace lk::ui::toolbar {

// Where a character of the given size starts so that it sits centred in
// the panel, in twips, halves rounded to even.
inline int CentredStart(int innerTwips, int characterTwips) {
  return static_cast<int>(std::nearbyint((innerTwips - characterTwips) / 2.0));
}

// The enlarged character is drawn three times, the red one on top of two
// grey shadows offset down and to the right.
struct ShadowLayer {
  int offsetTwips;
  unsigned char r, g, b;
};
inline constexpr ShadowLayer kPanelLayers[] = {{60, 192, 192, 192}, {30, 128, 128, 128}, {0, 255, 0, 0}};

}  // namespace lk::ui::toolbar
