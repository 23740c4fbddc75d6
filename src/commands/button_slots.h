#pragma once
// The six customizable buttons' settings keys: a prefix and the slot number in
// two digits ("in101", "cap05", "ttt06").
#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace lk::commands {

inline constexpr int kCustomSlots = 6;
inline constexpr std::string_view kSection = "Customize";

std::string SlotKey(std::string_view prefix, int slot);

// Buttons 1-5 as the program ships them, a row each: first insertion, sample,
// second insertion, result, caption, tooltip. Characters of the legacy fonts
// are Windows-1252 bytes.
inline constexpr int kFactoryRows = 5;
inline constexpr int kFactoryColumns = 6;
inline constexpr int kCaptionColumn = 4;
inline constexpr std::string_view kFactoryButtons[kFactoryRows][kFactoryColumns] = {
    {"l", "ls", "L", "sL", "Ll", "Change Raswa to Dirgha"},
    {"'", "g'", "\"", "g\"", "'\"", "Change Raswa Ukar to dirhga ukar and vice versa"},
    {"-", "g]kfn", "_", "-g]kfn_", "-/_", "Puts braces around selection"},
    {"\xE6", "ldq", "\xC6", "\xE6ldq\xC6", "\xE6/\xC6", "Puts double quotes around selection"},
    {"\x85", "rfa]n", "\xDA", "\x85rfa]n\xDA", "\x85/\xDA", "Puts single quotes around selection"},
};

// Button 6 types this key's text, and shows it as its caption. Each reader
// keeps the default it has always had (the store matches the key's letters
// in any case, so "character" is the same entry).
inline constexpr std::string_view kCharacterKey = "Character";
std::string ReadCharacter(const settings::SettingsStore& store, std::string_view fallback);

}  // namespace lk::commands
