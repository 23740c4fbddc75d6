#include "ui/toolbar/toolbar_lifecycle.h"

namespace lk::ui::toolbar {

std::optional<std::string> FontToReselect(const settings::SettingsStore& store) {
  auto name = store.Read("Font", "LastFont", "Arial", settings::kDirectReadCapacity);
  if (name.empty()) return std::nullopt;
  return name;
}

bool SaveOnClose(const std::optional<Corner>& corner, const settings::SettingsStore& store,
                 const std::string& fontText) {
  const bool position = SavePosition(corner, store);
  return store.Write("Font", "LastFont", fontText) && position;
}

}  // namespace lk::ui::toolbar
