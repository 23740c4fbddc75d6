#pragma once
// The toolbar's design in twips: every control's place, colours, design-time
// font, caption and tooltip, and the keypad grid. The window code only binds
// these numbers to controls, so the layout can be checked without a window.
#include <span>
#include <string_view>

#include "ui/layout/control_ids.h"
#include "ui/layout/control_design.h"
#include "ui/layout/twip_rect.h"
#include "ui/layout/window_titles.h"

namespace lk::ui::toolbar {

inline constexpr std::string_view kCaption = kProgramName;
inline constexpr int kClientWidth = 9768;
inline constexpr int kClientHeight = 3192;
// The size of most controls' design font; a few buttons use 9.6 points.
inline constexpr double kDesignPoints = 7.8;

// The bottom strip in creation order: the font list first, as it opens the
// tab order, then the target field, so that it lies over the quick-text box
// it overlaps, then the buttons left to right.
std::span<const ControlDesign> BottomStrip();

// Keypad: 7 rows of 32 keys, each 315 x 405 twips, overlapping by 15 twips.
inline constexpr int kKeyRows = 7;
inline constexpr int kKeyColumns = 32;
inline constexpr int kKeyOverlap = 15;
int KeyIndexAt(int row, int column);
TwipRect KeyRect(int row, int column);
// The key at a place of the grid; keys are made in reading order, so that
// every one-pixel seam between them falls the same way.
ControlDesign KeyDesign(int row, int column);
// The strip, then every key in reading order: all the toolbar makes from designs.
std::span<const ControlDesign> Controls();

// Enlargement panel: it floats over the keypad.
inline constexpr TwipRect kPanelRect{6705, 750, 2085, 1935};
inline constexpr double kPanelPoints = 96;
inline constexpr std::string_view kPanelTooltip = "    Drag to move    Rt Click to hide    ";

}  // namespace lk::ui::toolbar
