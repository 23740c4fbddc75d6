#pragma once
#include <string>

#include "platform/platform.h"
#include "target_link/target_ui.h"

namespace lk::target_link {

// The target's window when a target is named and that window is now being
// brought to the front; 0 otherwise, and then the user has been told (and,
// where it helps, offered the Select Application dialog) and the action must
// not go on. The window found here is the one the action works on: it is not
// looked up again by its title.
platform::WindowHandle CheckTarget(const platform::Platform& platform, TargetUi& ui);

// The visible top-level window whose title equals the name, failing that the
// first, front to back, whose title begins with it; 0 when there is none.
// Titles and name are compared as the Unicode text they are, exactly.
platform::WindowHandle FindTargetWindow(platform::Windows& windows, const std::string& name);

}  // namespace lk::target_link
