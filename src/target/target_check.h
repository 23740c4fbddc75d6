#pragma once
#include "platform/platform.h"
#include "target/target_ui.h"

namespace lk::target {

// True when a target is named and one of its windows is now in front.
// Otherwise the user has been told (and, where it helps, offered the Select
// Application dialog), and the action must not go on.
bool CheckTarget(platform::Platform& platform, TargetUi& ui);

inline constexpr int kNoWindowMatches = 5;

}  // namespace lk::target
