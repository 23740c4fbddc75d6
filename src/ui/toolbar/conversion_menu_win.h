#pragma once
// "Selection to Unicode" and "Selection to legacy font" as the toolbar offers
// them: two entries of its window menu and two global hotkeys; above them the
// two entries that convert whole documents.
#include <windows.h>

#include <array>
#include <optional>

#include "convert/converter.h"
#include "settings/settings_store.h"

namespace lk::ui::toolbar {

class ConversionCommands {
 public:
  ConversionCommands() = default;
  ConversionCommands(const ConversionCommands&) = delete;
  ConversionCommands& operator=(const ConversionCommands&) = delete;
  ~ConversionCommands() { Detach(); }

  // Registers the hotkeys LK.ini names (a hotkey another program holds is
  // left out quietly) and adds the entries, each showing its hotkey when it
  // was registered, under a separator in the window menu.
  void Attach(HWND toolbar, const settings::SettingsStore& store);
  void Detach();

  // The conversion a WM_SYSCOMMAND or WM_HOTKEY asks for, if it is ours.
  std::optional<convert::Direction> FromMenu(WPARAM command) const;
  std::optional<convert::Direction> FromHotkey(WPARAM id) const;
  // The document conversion a WM_SYSCOMMAND asks for, if it is one.
  std::optional<convert::Direction> DocumentsFromMenu(WPARAM command) const;
  // The legacy entry names the family documents would be converted to,
  // which follows the toolbar's font list: called as the menu opens.
  void NameDocumentsFamily(convert::LegacyFont family) const;

 private:
  HWND toolbar_ = nullptr;
  std::array<bool, 2> registered_{};
};

}  // namespace lk::ui::toolbar
