#pragma once
// What the toolbar does when it loads and when it closes, apart from binding
// the results to its controls.
#include <optional>
#include <string>

#include "platform/shell.h"
#include "settings/settings_store.h"
#include "ui/toolbar/placement.h"

namespace lk::ui::toolbar {

// The font to select at start: LastFont read through a 50-character buffer
// (default "Arial"); nothing when the stored value is empty.
std::optional<std::string> FontToReselect(const settings::SettingsStore& store);

// The last font, as the font list spells it, when it is installed: the
// font the toolbar starts in.
std::optional<std::string> StartFont(const settings::SettingsStore& store, platform::Shell& shell);

// The closing writes, in order: the position (the window's outer corner, when
// it can be had), then the font list's text. False when a write failed.
bool SaveOnClose(const std::optional<Corner>& corner, const settings::SettingsStore& store,
                 const std::string& fontText);

}  // namespace lk::ui::toolbar
