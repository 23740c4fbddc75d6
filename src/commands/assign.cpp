#include "commands/assign.h"

namespace lk::commands {

std::array<ButtonLabel, kCustomSlots> ReadButtonLabels(const settings::SettingsStore& store) {
  static constexpr std::array<std::string_view, 5> kDefaultCaptions = {
      "Ll", "'\"", "-/_", "\xE6/\xC6", "\x85/\xDA"};
  std::array<ButtonLabel, kCustomSlots> labels;
  for (int slot = 1; slot <= kCustomSlots; ++slot) {
    auto& label = labels[slot - 1];
    label.caption = slot < kCustomSlots
                        ? settings::ReadSetting(store, kSection, SlotKey("cap", slot), kDefaultCaptions[slot - 1])
                        : settings::ReadSetting(store, kSection, "character", "-");
    label.tooltip = settings::ReadSetting(store, kSection, SlotKey("ttt", slot), "...");
  }
  return labels;
}

}  // namespace lk::commands
