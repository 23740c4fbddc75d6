#pragma once
// The program's name and its windows' titles. The window catalogue leaves
// our own windows out of the target list by these very titles, so each is
// written once.
#include <string_view>

namespace lk::ui {

// The toolbar's title, and every message box's.
inline constexpr std::string_view kProgramName = "Lekhopakar";
inline constexpr std::string_view kSelectApplicationTitle = "Select Application";
inline constexpr std::string_view kCustomizeButtonsTitle = "Customize Buttons";

}  // namespace lk::ui
