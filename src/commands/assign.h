#pragma once
// The captions and tooltips of the six customizable buttons, read afresh from
// the settings file each time the toolbar relabels them.
#include <array>
#include <string>

#include "commands/button_slots.h"
#include "settings/settings_store.h"

namespace lk::commands {

struct ButtonLabel {
  std::string caption;
  std::string tooltip;
};

// Slot 6 is captioned with the very string it types ("character"); cap06 is
// the dialog's own and never shown on the toolbar.
std::array<ButtonLabel, kCustomSlots> ReadButtonLabels(const settings::SettingsStore& store);

}  // namespace lk::commands
