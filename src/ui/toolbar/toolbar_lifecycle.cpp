#include "ui/toolbar/toolbar_lifecycle.h"

#include "ui/toolbar/placement.h"

namespace lk::ui::toolbar {

std::optional<std::string> FontToReselect(const settings::SettingsStore& store) {
  auto name = store.Read("Font", "LastFont", "Arial", settings::kDirectReadCapacity);
  if (name.empty()) return std::nullopt;
  return name;
}

void SaveOnClose(platform::Platform& platform, platform::WindowHandle toolbar,
                 const settings::SettingsStore& store, const std::string& fontText) {
  SavePosition(platform, toolbar, store);
  store.Write("Font", "LastFont", fontText);
}

}  // namespace lk::ui::toolbar
