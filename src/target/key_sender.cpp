#include "target/key_sender.h"

#include <algorithm>

namespace lk::target {

void Yields(platform::Platform& platform, int count) {
  for (int i = 0; i < count; ++i) platform.YieldOnce();
}

bool KeySender::Prepare() {
  if (!ok_) return false;
  platform_.WaitUntil([this] { return !platform_.ModifiersDown(); }, kModifierBound);
  ok_ = target_ != 0 &&
        platform_.WaitUntil([this] { return platform_.ForegroundWindow() == target_; }, kForegroundBound);
  // The target handles its activation before our first key, so that the
  // keyboard state it sets up then cannot land in the middle of a shortcut.
  if (ok_) platform_.CatchUpWith(target_);
  return ok_;
}

bool KeySender::TargetInFront() {
  if (ok_ && platform_.ForegroundWindow() != target_) {
    ok_ = false;
    ReleaseHeld();
  }
  return ok_;
}

void KeySender::Send(unsigned char virtualKey, unsigned flags) {
  const unsigned scan = platform_.ScanCode(virtualKey);
  platform_.KeyEvent(virtualKey, static_cast<unsigned char>(scan & 0xFF), flags);
}

bool KeySender::Press(unsigned char virtualKey) {
  if (!TargetInFront()) return false;
  // A held modifier the system has let go of meanwhile (Wine does so when
  // the activated target syncs its keyboard state) is pressed again, or the
  // target would take Ctrl+C for a plain "c" typed over the selection.
  for (const unsigned char held : held_)
    if (!platform_.IsKeyDown(held)) Send(held, 0);
  Send(virtualKey, 0);
  held_.push_back(virtualKey);
  return true;
}

bool KeySender::Release(unsigned char virtualKey) {
  if (!TargetInFront()) return false;
  Send(virtualKey, platform::kKeyUp);
  held_.erase(std::remove(held_.begin(), held_.end(), virtualKey), held_.end());
  return true;
}

void KeySender::ReleaseHeld() {
  // Latest first, as fingers would let go; a key left down would stay down
  // for the whole system.
  while (!held_.empty()) {
    Send(held_.back(), platform::kKeyUp);
    held_.pop_back();
  }
}

void ControlChord(platform::Platform& platform, KeySender& keys, unsigned char key, const std::array<int, 4>& yields) {
  keys.Press(vk::kControl);
  Yields(platform, yields[0]);
  keys.Press(key);
  Yields(platform, yields[1]);
  keys.Release(key);
  Yields(platform, yields[2]);
  keys.Release(vk::kControl);
  Yields(platform, yields[3]);
}

}  // namespace lk::target
