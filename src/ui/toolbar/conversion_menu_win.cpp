#include "ui/toolbar/conversion_menu_win.h"

#include <string>

#include "commands/convert_selection.h"
#include "commands/hotkey.h"
#include "platform/win32/wide_text.h"

namespace lk::ui::toolbar {
namespace {

struct Entry {
  convert::Direction direction;
  const char* caption;
  const char* key;
  const char* defaultHotkey;
  UINT menuId;  // window-menu commands keep their low four bits clear
  int hotkeyId;
};

constexpr Entry kEntries[] = {
    {convert::Direction::kToUnicode, "Selection to Unicode", "ToUnicodeKey", "Ctrl+Alt+Shift+U", 0x1010, 1},
    {convert::Direction::kToLegacy, "Selection to legacy font", "ToLegacyKey", "Ctrl+Alt+Shift+P", 0x1020, 2},
};

// Whole documents: the file dialog opens from these.
constexpr UINT kDocumentsToUnicode = 0x1030;
constexpr UINT kDocumentsToLegacy = 0x1040;

std::wstring DocumentsCaption(convert::Direction direction, convert::LegacyFont family) {
  const std::string target =
      direction == convert::Direction::kToUnicode ? "Unicode" : std::string(convert::LegacyFontName(family));
  return platform::FromUtf8("Convert documents to " + target + "\u2026");
}

UINT Modifiers(const commands::Hotkey& hotkey) {
  UINT modifiers = MOD_NOREPEAT;
  if (hotkey.modifiers & commands::Hotkey::kCtrl) modifiers |= MOD_CONTROL;
  if (hotkey.modifiers & commands::Hotkey::kAlt) modifiers |= MOD_ALT;
  if (hotkey.modifiers & commands::Hotkey::kShift) modifiers |= MOD_SHIFT;
  if (hotkey.modifiers & commands::Hotkey::kWin) modifiers |= MOD_WIN;
  return modifiers;
}

UINT VirtualKey(const commands::Hotkey& hotkey) {
  return hotkey.function ? VK_F1 + static_cast<UINT>(hotkey.key) - 1 : static_cast<UINT>(hotkey.key);
}

}  // namespace

void ConversionCommands::Attach(HWND toolbar, const settings::SettingsStore& store) {
  Detach();
  toolbar_ = toolbar;
  HMENU menu = ::GetSystemMenu(toolbar, FALSE);
  if (menu) {
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, kDocumentsToUnicode, DocumentsCaption(convert::Direction::kToUnicode, {}).c_str());
    ::AppendMenuW(menu, MF_STRING, kDocumentsToLegacy,
                  DocumentsCaption(convert::Direction::kToLegacy, convert::LegacyFont::kPreeti).c_str());
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  }
  for (std::size_t i = 0; i < std::size(kEntries); ++i) {
    const Entry& entry = kEntries[i];
    const auto hotkey =
        commands::ParseHotkey(settings::ReadSetting(store, commands::kConvertSection, entry.key, entry.defaultHotkey));
    registered_[i] = hotkey && ::RegisterHotKey(toolbar, entry.hotkeyId, Modifiers(*hotkey), VirtualKey(*hotkey));
    const std::string caption = commands::MenuCaption(entry.caption, registered_[i] ? hotkey : std::nullopt);
    if (menu) ::AppendMenuW(menu, MF_STRING, entry.menuId, platform::FromUtf8(caption).c_str());
  }
}

void ConversionCommands::Detach() {
  for (std::size_t i = 0; i < std::size(kEntries); ++i) {
    if (registered_[i]) ::UnregisterHotKey(toolbar_, kEntries[i].hotkeyId);
    registered_[i] = false;
  }
}

std::optional<convert::Direction> ConversionCommands::FromMenu(WPARAM command) const {
  for (const Entry& entry : kEntries)
    if ((command & 0xFFF0) == entry.menuId) return entry.direction;
  return std::nullopt;
}

std::optional<convert::Direction> ConversionCommands::DocumentsFromMenu(WPARAM command) const {
  if ((command & 0xFFF0) == kDocumentsToUnicode) return convert::Direction::kToUnicode;
  if ((command & 0xFFF0) == kDocumentsToLegacy) return convert::Direction::kToLegacy;
  return std::nullopt;
}

void ConversionCommands::NameDocumentsFamily(convert::LegacyFont family) const {
  HMENU menu = toolbar_ ? ::GetSystemMenu(toolbar_, FALSE) : nullptr;
  if (!menu) return;
  const std::wstring caption = DocumentsCaption(convert::Direction::kToLegacy, family);
  ::ModifyMenuW(menu, kDocumentsToLegacy, MF_BYCOMMAND | MF_STRING, kDocumentsToLegacy, caption.c_str());
}

std::optional<convert::Direction> ConversionCommands::FromHotkey(WPARAM id) const {
  for (std::size_t i = 0; i < std::size(kEntries); ++i)
    if (registered_[i] && static_cast<int>(id) == kEntries[i].hotkeyId) return kEntries[i].direction;
  return std::nullopt;
}

}  // namespace lk::ui::toolbar
