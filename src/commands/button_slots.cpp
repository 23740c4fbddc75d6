#include "commands/button_slots.h"

namespace lk::commands {

std::string SlotKey(std::string_view prefix, int slot) {
  std::string key(prefix);
  key += static_cast<char>('0' + slot / 10 % 10);
  key += static_cast<char>('0' + slot % 10);
  return key;
}

}  // namespace lk::commands
