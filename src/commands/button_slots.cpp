#include "commands/button_slots.h"

namespace lk::commands {

std::string SlotKey(std::string_view prefix, int slot) {
  std::string key(prefix);
  key += static_cast<char>('0' + slot / 10 % 10);
  key += static_cast<char>('0' + slot % 10);
  return key;
}

std::string ReadCharacter(const settings::SettingsStore& store, std::string_view fallback) {
  return settings::ReadSetting(store, kSection, kCharacterKey, fallback);
}

}  // namespace lk::commands
