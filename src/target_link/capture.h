#pragma once
#include <string>

#include "platform/platform.h"

namespace lk::target_link {

// Copies the selection of the target window (the one CheckTarget found)
// through the clipboard and gives the user's clipboard back. The selection
// comes back as Unicode text (UTF-8), exactly as the target put it there;
// empty when nothing was captured.
std::string CaptureText(platform::Platform& platform, platform::WindowHandle window);

// The same for legacy-font text: the selection as Windows-1252 bytes, code
// by code (a symbol font's U+F0xx codes included).
std::string CopyIT(platform::Platform& platform, platform::WindowHandle window);

}  // namespace lk::target_link
