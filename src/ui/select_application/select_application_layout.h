#pragma once
// The Select Application dialog's design in twips: its controls, in tab order,
// and the two rules drawn above its buttons.
#include <span>

#include "ui/layout/control_ids.h"
#include "ui/layout/control_design.h"
#include "ui/layout/dialog_design.h"
#include "ui/layout/window_titles.h"

namespace lk::ui::select_application {

inline constexpr DialogDesign kDesign{kSelectApplicationTitle, 5604, 3372, 100, 300};

// In creation order, which is also the tab order: Cancel first, so it holds
// the focus when the dialog opens.
std::span<const ControlDesign> Controls();

// Two rules above the buttons: window-text colour, then window colour.
inline constexpr int kRuleLeft = 360;
inline constexpr int kRuleRight = 5220;
inline constexpr int kDarkRuleTop = 2550;
inline constexpr int kLightRuleTop = 2610;

}  // namespace lk::ui::select_application
