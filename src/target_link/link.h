#pragma once
// What capture, paste-back and typing share: reaching the target window that
// CheckTarget found, and the one way each of them talks to it. A standard
// edit control is asked by message, which no key the user holds and no
// keyboard-state sync of the system can disturb; anything else gets the
// shortcut as keys, the whole chord in one piece.
#include <chrono>

#include "platform/platform.h"

namespace lk::target_link {

namespace vk {
inline constexpr unsigned char kControl = 0x11;
inline constexpr unsigned char kAlt = 0x12;
inline constexpr unsigned char kC = 0x43;
inline constexpr unsigned char kV = 0x56;
inline constexpr unsigned char kNumpad0 = 0x60;
}  // namespace vk

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
Reached Reach(platform::Platform& platform, platform::WindowHandle window);

// Sends the strokes in one piece once the user has let go of the modifiers
// and while the window is still in front; a key the system took down but not
// up again is released. True when every stroke went in.
bool SendStrokes(platform::Platform& platform, platform::WindowHandle window,
                 const std::vector<platform::KeyStroke>& strokes);

// Ctrl down, the key down and up, Ctrl up.
bool SendControlChord(platform::Platform& platform, platform::WindowHandle window, unsigned char key);

}  // namespace lk::target_link
