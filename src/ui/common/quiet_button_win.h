#pragma once
// A push button that acts on a click the way a key of an on-screen keyboard
// does: the window the user was typing in keeps the foreground, its focus
// and its caret, and the button takes no keyboard focus of its own. The
// keyboard still reaches it by Tab and Space.
#include <windows.h>

namespace lk::ui {

void MakeQuiet(HWND button);

}  // namespace lk::ui
