#pragma once
// One target window beside another, on the fake window system: what the
// capture, paste-back and typing tests share.
#include <string>

#include "support/fake_platform.h"

namespace lk::testing {

inline constexpr platform::WindowHandle kTarget = 10;
inline constexpr platform::WindowHandle kOther = 20;
inline constexpr platform::WindowHandle kEdit = 11;

// Both ways a target is reached: its focused standard edit control asked by
// message, or a custom control sent the shortcut as keys.
enum class Route { kMessage, kKeys };

inline const char* RouteName(const ::testing::TestParamInfo<Route>& info) {
  return info.param == Route::kMessage ? "Message" : "Keys";
}

inline void AddTarget(platform::FakePlatform& fake, Route route, const std::string& selection = "") {
  fake.windows[kTarget] = {"Untitled - Notepad", true, true};
  fake.windows[kOther] = {"Other", true, true};
  fake.targets[kTarget].selection = selection;
  fake.targets[kTarget].edit = route == Route::kMessage ? kEdit : 0;
  fake.targets[kOther].selection = "the other window's";
}

inline void UserText(platform::FakePlatform& fake, const std::string& text) {
  fake.clipboardHasText = true;
  fake.clipboardText = text;
}

// Ctrl down, the key down and up, Ctrl up: the whole chord in one piece.
inline std::vector<platform::KeyStroke> Chord(platform::Key key) {
  using platform::Key;
  return {{Key::kControl, false}, {key, false}, {key, true}, {Key::kControl, true}};
}

}  // namespace lk::testing
