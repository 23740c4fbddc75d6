#include "target_link/window_catalogue.h"

#include <array>
#include <string_view>

#include "text/trim.h"

namespace lk::target_link {
namespace {

// Compared exactly with the untrimmed title: "Program Manager " is listed.
constexpr std::array<std::string_view, 3> kExcluded = {"Program Manager", "Lekhopakar", "Select Application"};

bool Excluded(const std::string& title) {
  for (const auto excluded : kExcluded)
    if (title == excluded) return true;
  return false;
}

}  // namespace

std::vector<CatalogueEntry> ListWindows(platform::Platform& platform) {
  std::vector<CatalogueEntry> entries;
  for (const auto window : platform.EnumTopLevelWindows()) {
    // All four queries run for every window before the test.
    const bool isWindow = platform.IsWindow(window);
    const bool visible = platform.IsWindowVisible(window);
    const std::string title = platform.GetWindowTitle(window);
    const bool enabled = platform.IsWindowEnabled(window);
    if (enabled && !title.empty() && visible && isWindow && !Excluded(title))
      entries.push_back({text::TrimBlanks(title), window});
  }
  return entries;
}

}  // namespace lk::target_link
