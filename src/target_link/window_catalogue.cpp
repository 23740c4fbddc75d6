#include "target_link/window_catalogue.h"

#include <array>
#include <string_view>

#include "text/trim.h"
#include "ui/layout/window_titles.h"

namespace lk::target_link {
namespace {

// Compared exactly with the untrimmed title: "Program Manager " is listed.
constexpr std::array<std::string_view, 3> kExcluded = {"Program Manager", ui::kProgramName,
                                                               ui::kSelectApplicationTitle};

bool Excluded(const std::string& title) {
  for (const auto excluded : kExcluded)
    if (title == excluded) return true;
  return false;
}

}  // namespace

std::vector<CatalogueEntry> ListWindows(platform::Windows& windows) {
  std::vector<CatalogueEntry> entries;
  for (const auto window : windows.EnumTopLevel()) {
    // All four queries run for every window before the test.
    const bool isWindow = windows.Exists(window);
    const bool visible = windows.IsVisible(window);
    const std::string title = windows.Title(window);
    const bool enabled = windows.IsEnabled(window);
    if (enabled && !title.empty() && visible && isWindow && !Excluded(title))
      entries.push_back({text::TrimBlanks(title), window});
  }
  return entries;
}

}  // namespace lk::target_link
