#pragma once
// What capture, paste-back and typing share: reaching the target window that
// CheckTarget found, and the one way each of them talks to it. A standard
// edit control is asked by message, which no key the user holds and no
// keyboard-state sync of the system can disturb; anything else gets the
// shortcut as keys, the whole chord in one piece.
#include <chrono>

#include "platform/platform.h"

namespace lk::target_link {

inline constexpr std::chrono::milliseconds kModifierBound{1000};
inline constexpr std::chrono::milliseconds kForegroundBound{500};
inline constexpr std::chrono::milliseconds kIdleBound{500};

struct Reached {
  bool ok = false;
  // The focused standard edit control, or 0 when keys must be used.
  platform::WindowHandle edit = 0;
};

// The window still exists, has been brought to the front and has handled its
// activation. Not ok when it has gone or never came to the front.
Reached Reach(const platform::Platform& platform, platform::WindowHandle window);

// Sends the strokes in one piece once the user has let go of the modifiers
// and while the window is still in front; a key the system took down but not
// up again is released. True when every stroke went in.
bool SendStrokes(const platform::Platform& platform, platform::WindowHandle window,
                 const std::vector<platform::KeyStroke>& strokes);

// Ctrl down, the key down and up, Ctrl up.
bool SendControlChord(const platform::Platform& platform, platform::WindowHandle window, platform::Key key);

}  // namespace lk::target_link
