#include "commands/hotkey.h"

#include <algorithm>
#include <cctype>

#include "text/trim.h"

namespace lk::commands {
std::optional<Hotkey> ParseHotkey(std::string_view text) {
  Hotkey hotkey;
  bool haveKey = false;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t plus = text.find('+', start);
    const std::string_view part = text::TrimSpacing(text.substr(start, plus == std::string_view::npos ? plus : plus - start));
    start = plus == std::string_view::npos ? text.size() + 1 : plus + 1;
    if (part.empty() || haveKey) return std::nullopt;  // "Ctrl++U", "U+Ctrl"
    const std::string_view name = part;
    const auto is = [name](std::string_view word) { return text::EqualsIgnoreCase(name, word); };
    unsigned modifier = 0;
    if (is("ctrl") || is("control")) modifier = Hotkey::kCtrl;
    else if (is("alt")) modifier = Hotkey::kAlt;
    else if (is("shift")) modifier = Hotkey::kShift;
    else if (is("win") || is("windows")) modifier = Hotkey::kWin;
    if (modifier != 0) {
      if (hotkey.modifiers & modifier) return std::nullopt;
      hotkey.modifiers |= modifier;
      continue;
    }
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
      hotkey.key = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    } else if (name.size() >= 2 && name.size() <= 3 && (name[0] == 'f' || name[0] == 'F') &&
               std::all_of(name.begin() + 1, name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      const int number = std::stoi(std::string(name.substr(1)));
      if (number < 1 || number > 24 || name[1] == '0') return std::nullopt;
      hotkey.key = static_cast<char>(number);
      hotkey.function = true;
    } else {
      return std::nullopt;
    }
    haveKey = true;
  }
  if (!haveKey || (hotkey.modifiers & ~Hotkey::kShift) == 0) return std::nullopt;
  return hotkey;
}

std::string HotkeyText(const Hotkey& hotkey) {
  std::string text;
  if (hotkey.modifiers & Hotkey::kCtrl) text += "Ctrl+";
  if (hotkey.modifiers & Hotkey::kAlt) text += "Alt+";
  if (hotkey.modifiers & Hotkey::kShift) text += "Shift+";
  if (hotkey.modifiers & Hotkey::kWin) text += "Win+";
  if (hotkey.function) text += "F" + std::to_string(static_cast<int>(hotkey.key));
  else text += hotkey.key;
  return text;
}

std::string MenuCaption(std::string_view caption, const std::optional<Hotkey>& registered) {
  std::string text(caption);
  if (registered) {
    text.push_back('\t');
    text.append(HotkeyText(*registered));
  }
  return text;
}

}  // namespace lk::commands
