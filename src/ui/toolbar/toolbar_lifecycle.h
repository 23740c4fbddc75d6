#pragma once
// What the toolbar does when it loads and when it closes, apart from binding
// the results to its controls.
#include <optional>
#include <string>

#include "platform/platform.h"
#include "settings/settings_store.h"

namespace lk::ui::toolbar {

// The font to select at start: LastFont read through a 50-character buffer
// (default "Arial"); nothing when the stored value is empty.
std::optional<std::string> FontToReselect(const settings::SettingsStore& store);

// The closing writes, in order: the position, then the font list's text.
void SaveOnClose(platform::Platform& platform, platform::WindowHandle toolbar,
                 const settings::SettingsStore& store, const std::string& fontText);

}  // namespace lk::ui::toolbar
