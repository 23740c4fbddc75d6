#pragma once
// The Customize Buttons dialog's design in twips: every control's place,
// text, alignment, font and tooltip, and the identifiers automation relies
// on. The window code only binds these to controls.
#include <span>
#include <string_view>

#include "ui/layout/control_ids.h"
#include "ui/layout/control_design.h"
#include "ui/layout/dialog_design.h"
#include "ui/layout/window_titles.h"
#include "ui/layout/rgb.h"
#include "ui/layout/twip_rect.h"

namespace lk::ui::customize {

inline constexpr DialogDesign kDesign{kCustomizeButtonsTitle, 8112, 5676, 100, 100};

// The swatch in the gap of blanks of the first help line: the colour of the
// toolbar's customizable buttons.
inline constexpr TwipRect kSwatchRect{705, 540, 300, 300};
inline constexpr Rgb kSwatchColour = kLightCyan;

inline constexpr int kRows = 5;     // buttons 1-5, one row of fields each
inline constexpr int kColumns = 6;  // Index 0-5 within a row

// In creation order, which is also the tab order: the font list first, so it
// holds the focus when the dialog opens. Fields in the font picked in the two
// lists are marked pickedFont.
std::span<const ControlDesign> Controls();

inline constexpr std::string_view kSizes[] = {"10", "12", "14", "18", "24"};

}  // namespace lk::ui::customize
