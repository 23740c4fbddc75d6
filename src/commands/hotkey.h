#pragma once
// Global hotkeys as LK.ini writes them: "Ctrl+Alt+Shift+U".
#include <optional>
#include <string>
#include <string_view>

namespace lk::commands {

struct Hotkey {
  enum Modifier : unsigned { kCtrl = 1, kAlt = 2, kShift = 4, kWin = 8 };
  unsigned modifiers = 0;
  // 'A'..'Z' or '0'..'9', or the function key number 1..24 when function.
  char key = 0;
  bool function = false;

  bool operator==(const Hotkey&) const = default;
};

// Nothing for an empty text (the hotkey is off) and for text that is not a
// hotkey. A key with Shift alone or no modifier would take an ordinary
// keystroke from every program, so it is refused too.
std::optional<Hotkey> ParseHotkey(std::string_view text);

// As a menu shows it: "Ctrl+Alt+Shift+U".
std::string HotkeyText(const Hotkey& hotkey);

// A menu entry's text: its caption, and its hotkey after a tab when one is
// registered.
std::string MenuCaption(std::string_view caption, const std::optional<Hotkey>& registered);

}  // namespace lk::commands
