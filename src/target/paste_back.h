#pragma once
#include <string>

#include "platform/platform.h"

namespace lk::target {

// Pastes text over the target's selection through the clipboard and gives
// the user's clipboard back once the target has read the text. False when
// nothing was pasted.
bool PasteIT(platform::Platform& platform, const std::string& targetName, const std::string& text);

}  // namespace lk::target
