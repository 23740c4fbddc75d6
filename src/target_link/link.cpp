#include "target_link/link.h"

#include <algorithm>

namespace lk::target_link {

Reached Reach(const platform::Platform& platform, platform::WindowHandle window) {
  auto& windows = platform.windows;
  if (!window || !windows.Exists(window)) return {};
  if (windows.Foreground() != window &&
      windows.Activate(window) != platform::Activation::kDone)
    return {};
  if (!windows.WaitUntil([&] { return windows.Foreground() == window; }, kForegroundBound)) return {};
  // The target handles its activation before our request, so that the focus
  // it sets up then is the one we ask about and the keyboard state it syncs
  // then cannot land in the middle of our shortcut.
  if (!windows.CatchUpWith(window, kIdleBound)) return {};
  return {true, windows.FocusedEditControl(window)};
}

bool SendStrokes(const platform::Platform& platform, platform::WindowHandle window,
                 const std::vector<platform::KeyStroke>& strokes) {
  auto& keyboard = platform.keyboard;
  // Keys the user holds would combine with ours; they get a moment to let go,
  // not a veto.
  platform.windows.WaitUntil([&] { return !keyboard.ModifiersDown(); }, kModifierBound);
  if (platform.windows.Foreground() != window) return false;
  const std::size_t sent = std::min(keyboard.SendKeys(strokes), strokes.size());
  if (sent == strokes.size()) return true;
  // Latest first, as fingers would let go: a key left down would stay down
  // for the whole system.
  std::vector<platform::Key> down;
  for (std::size_t i = 0; i < sent; ++i) {
    const auto key = strokes[i].key;
    if (strokes[i].up)
      down.erase(std::remove(down.begin(), down.end(), key), down.end());
    else
      down.push_back(key);
  }
  std::vector<platform::KeyStroke> releases;
  for (auto it = down.rbegin(); it != down.rend(); ++it) releases.push_back({*it, true});
  if (!releases.empty()) keyboard.SendKeys(releases);
  return false;
}

bool SendControlChord(const platform::Platform& platform, platform::WindowHandle window, platform::Key key) {
  using platform::Key;
  return SendStrokes(platform, window, {{Key::kControl, false}, {key, false}, {key, true}, {Key::kControl, true}});
}

}  // namespace lk::target_link
