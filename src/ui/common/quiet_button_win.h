#pragma once
// A push button that acts on a click the way a key of an on-screen keyboard
// does: the window the user was typing in keeps the foreground, its focus
// and its caret, and the button takes no keyboard focus of its own. The
// keyboard still reaches it by Tab and Space.
#include <windows.h>

#include "ui/common/tooltips.h"

namespace lk::ui {

// The button's mouse messages are relayed to `tips`, which may be given the
// button as a tool of kind Tooltips::Feed::kRelayed.
void MakeQuiet(HWND button, const Tooltips* tips = nullptr);

}  // namespace lk::ui
