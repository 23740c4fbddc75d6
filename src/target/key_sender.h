#pragma once
// Synthetic key events that only ever reach the target: before each one the
// foreground is checked, and once the target has lost it nothing more is
// sent but the releases of keys already pressed.
#include <array>
#include <chrono>
#include <vector>

#include "platform/platform.h"

namespace lk::target {

namespace vk {
inline constexpr unsigned char kControl = 0x11;
inline constexpr unsigned char kAlt = 0x12;
inline constexpr unsigned char kC = 0x43;
inline constexpr unsigned char kV = 0x56;
inline constexpr unsigned char kNumpad0 = 0x60;
}  // namespace vk

inline constexpr std::chrono::milliseconds kModifierBound{1000};
inline constexpr std::chrono::milliseconds kForegroundBound{500};

void Yields(platform::Platform& platform, int count);

class KeySender {
 public:
  KeySender(platform::Platform& platform, platform::WindowHandle target) : platform_(platform), target_(target) {}
  ~KeySender() { ReleaseHeld(); }
  KeySender(const KeySender&) = delete;
  KeySender& operator=(const KeySender&) = delete;

  // Before the first event: the keys the user holds must not combine with
  // ours, and the activation must have taken effect. False when the target
  // never came to the front.
  bool Prepare();

  // False, and nothing sent, once the target is not in front.
  bool Press(unsigned char virtualKey);
  bool Release(unsigned char virtualKey);
  bool ok() const { return ok_; }

 private:
  bool TargetInFront();
  void Send(unsigned char virtualKey, unsigned flags);
  void ReleaseHeld();

  platform::Platform& platform_;
  platform::WindowHandle target_;
  std::vector<unsigned char> held_;
  bool ok_ = true;
};

// Ctrl pressed, the key pressed and released, Ctrl released, with the given
// number of yields after each of the four events.
void ControlChord(platform::Platform& platform, KeySender& keys, unsigned char key, const std::array<int, 4>& yields);

}  // namespace lk::target
