#pragma once
#include <string>

#include "platform/platform.h"

namespace lk::target_link {

// Types the character whose code the digits give ("0065") into the target
// window (the one CheckTarget found): Alt with the numeric-keypad digits
// where the system has that entry, the character itself as Unicode input
// where it has not.
void TypeIT(const platform::Platform& platform, platform::WindowHandle window, const std::string& digits);

}  // namespace lk::target_link
