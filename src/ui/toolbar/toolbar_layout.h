#pragma once
// The toolbar's design in twips: every control's place, colours, design-time
// font, caption and tooltip, and the keypad grid. The window code only binds
// these numbers to controls, so the layout can be checked without a window.
#include <array>
#include <optional>
#include <string_view>

#include "ui/layout/control_ids.h"
#include "ui/layout/rgb.h"
#include "ui/layout/twip_rect.h"

namespace lk::ui::toolbar {

inline constexpr std::string_view kCaption = "Lekhopakar";
inline constexpr std::string_view kDesignFont = "MS Sans Serif";
inline constexpr int kClientWidth = 9768;
inline constexpr int kClientHeight = 3192;

enum class Kind { kLogo, kCustomButton, kPlainButton, kFontList, kTargetField, kQuickText, kMarker };

struct ControlSpec {
  int id;
  Kind kind;
  TwipRect rect;
  std::optional<Rgb> face;  // none: the system's colour
  double points;
  bool bold;
  std::string_view caption;
  std::string_view tooltip;  // empty: no tooltip
};

// The bottom strip, left to right, in creation (and so tab and stacking) order
// but for the font list, which comes first in the tab order.
const std::array<ControlSpec, 13>& BottomStrip();
const ControlSpec& Control(int id);

// Keypad: 7 rows of 32 keys, each 315 x 405 twips, overlapping by 15 twips.
inline constexpr int kKeyRows = 7;
inline constexpr int kKeyColumns = 32;
int KeyIndexAt(int row, int column);
TwipRect KeyRect(int row, int column);

// Enlargement panel.
inline constexpr TwipRect kPanelRect{6705, 750, 2085, 1935};
inline constexpr double kPanelPoints = 96;
inline constexpr std::string_view kPanelTooltip = "    Drag to move    Rt Click to hide    ";

}  // namespace lk::ui::toolbar
