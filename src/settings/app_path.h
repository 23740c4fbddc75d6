#pragma once
#include <filesystem>

namespace lk::settings {

// The program directory with exactly one trailing separator; the root of a
// drive ("C:\") already ends in one and gets no second.
std::filesystem::path::string_type AppPathFrom(std::filesystem::path::string_type directory);

// AppPath followed by "LK.ini".
std::filesystem::path SettingsFileIn(const std::filesystem::path::string_type& appPath);

}  // namespace lk::settings
