#pragma once
#include <string>

#include "platform/platform.h"

namespace lk::target {

// Copies the target's selection through the clipboard and gives the user's
// clipboard back. Empty when nothing was captured.
std::string CopyIT(platform::Platform& platform, const std::string& targetName);

}  // namespace lk::target
