#pragma once
// Runs a window modally: the owner takes no input until `done` turns true,
// and it is enabled again before the modal window is destroyed, so the
// activation goes back to it rather than to another program.
#include <windows.h>

#include <functional>

namespace lk::ui {

// Returns false when the program is quitting (WM_QUIT is left for the main loop).
bool RunModal(HWND window, HWND owner, const std::function<bool()>& done);

// Alt+F4 closes the top-level window the message is for. Wine's combo boxes
// keep that key to themselves, so with a font list focused nothing would
// close; true when the message was taken.
bool RouteAltF4(const MSG& msg);

}  // namespace lk::ui
