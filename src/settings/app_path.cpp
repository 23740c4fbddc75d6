#include "settings/app_path.h"

namespace lk::settings {

std::filesystem::path::string_type AppPathFrom(std::filesystem::path::string_type directory) {
  using path = std::filesystem::path;
  if (directory.empty() || directory.back() != path::preferred_separator)
    directory.push_back(path::preferred_separator);
  return directory;
}

std::filesystem::path SettingsFileIn(const std::filesystem::path::string_type& appPath) {
  auto file = appPath;
  for (char c : std::string_view("LK.ini")) file.push_back(static_cast<std::filesystem::path::value_type>(c));
  return std::filesystem::path(file);
}

}  // namespace lk::settings
