#pragma once
// The six customizable buttons' settings keys: a prefix and the slot number in
// two digits ("in101", "cap05", "ttt06").
#include <string>
#include <string_view>

namespace lk::commands {

inline constexpr int kCustomSlots = 6;
inline constexpr std::string_view kSection = "Customize";

std::string SlotKey(std::string_view prefix, int slot);

}  // namespace lk::commands
