#include "commands/assign.h"

namespace lk::commands {

std::array<ButtonLabel, kCustomSlots> ReadButtonLabels(const settings::SettingsStore& store) {
  // Twelve keys from one reading of the file, not twelve readings.
  std::array<std::string, 2 * kCustomSlots> keys;
  std::array<settings::SettingsStore::Lookup, 2 * kCustomSlots> lookups;
  for (int slot = 1; slot <= kCustomSlots; ++slot) {
    const auto at = static_cast<std::size_t>(2 * (slot - 1));
    keys[at] = slot < kCustomSlots ? SlotKey("cap", slot) : std::string(kCharacterKey);
    keys[at + 1] = SlotKey("ttt", slot);
    lookups[at] = {keys[at], slot < kCustomSlots ? kFactoryButtons[slot - 1][kCaptionColumn] : std::string_view("-")};
    lookups[at + 1] = {keys[at + 1], "..."};
  }
  const std::vector<std::string> values = settings::ReadSettings(store, kSection, lookups);
  std::array<ButtonLabel, kCustomSlots> labels;
  for (std::size_t slot = 0; slot < labels.size(); ++slot) {
    labels[slot].caption = values[2 * slot];
    labels[slot].tooltip = values[2 * slot + 1];
  }
  return labels;
}

}  // namespace lk::commands
