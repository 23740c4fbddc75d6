#include "commands/assign.h"

namespace lk::commands {

std::array<ButtonLabel, kCustomSlots> ReadButtonLabels(const settings::SettingsStore& store) {
  std::array<ButtonLabel, kCustomSlots> labels;
  for (int slot = 1; slot <= kCustomSlots; ++slot) {
    auto& label = labels[slot - 1];
    label.caption = slot < kCustomSlots
                        ? settings::ReadSetting(store, kSection, SlotKey("cap", slot), kFactoryButtons[slot - 1][kCaptionColumn])
                        : ReadCharacter(store, "-");
    label.tooltip = settings::ReadSetting(store, kSection, SlotKey("ttt", slot), "...");
  }
  return labels;
}

}  // namespace lk::commands
