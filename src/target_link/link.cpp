#include "target_link/link.h"

#include <algorithm>

namespace lk::target_link {

Reached Reach(platform::Platform& platform, platform::WindowHandle window) {
  if (!window || !platform.IsWindow(window)) return {};
  if (platform.ForegroundWindow() != window && platform.ActivateWindow(window).code != 0) return {};
  if (!platform.WaitUntil([&] { return platform.ForegroundWindow() == window; }, kForegroundBound)) return {};
  // The target handles its activation before our request, so that the focus
  // it sets up then is the one we ask about and the keyboard state it syncs
  // then cannot land in the middle of our shortcut.
  if (!platform.CatchUpWith(window, kIdleBound)) return {};
  return {true, platform.FocusedEditControl(window)};
}

bool SendStrokes(platform::Platform& platform, platform::WindowHandle window,
                 const std::vector<platform::KeyStroke>& strokes) {
  // Keys the user holds would combine with ours; they get a moment to let go,
  // not a veto.
  platform.WaitUntil([&] { return !platform.ModifiersDown(); }, kModifierBound);
  if (platform.ForegroundWindow() != window) return false;
  const std::size_t sent = std::min(platform.SendKeys(strokes), strokes.size());
  if (sent == strokes.size()) return true;
  // Latest first, as fingers would let go: a key left down would stay down
  // for the whole system.
  std::vector<unsigned char> down;
  for (std::size_t i = 0; i < sent; ++i) {
    const auto key = strokes[i].virtualKey;
    if (strokes[i].up)
      down.erase(std::remove(down.begin(), down.end(), key), down.end());
    else
      down.push_back(key);
  }
  std::vector<platform::KeyStroke> releases;
  for (auto it = down.rbegin(); it != down.rend(); ++it) releases.push_back({*it, true});
  if (!releases.empty()) platform.SendKeys(releases);
  return false;
}

bool SendControlChord(platform::Platform& platform, platform::WindowHandle window, unsigned char key) {
  return SendStrokes(platform, window, {{vk::kControl, false}, {key, false}, {key, true}, {vk::kControl, true}});
}

}  // namespace lk::target_link
