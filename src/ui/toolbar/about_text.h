#pragma once
#include <string>
#include <string_view>

namespace lk::ui::toolbar {

inline constexpr std::string_view kDisclaimer =
    "This software is given free of charge and as it is, without any warranty of any kind, express or "
    "implied. The makers are not liable for any loss of text, documents, data or time, nor for any other "
    "damage that may come from using it. Check your documents before you print or send them. You may copy "
    "and share it free.";
static_assert(kDisclaimer.size() == 316, "the disclaimer is one line of 316 characters");

// The about message: 21 lines joined by CR LF, none after the last.
std::string AboutText();

}  // namespace lk::ui::toolbar
