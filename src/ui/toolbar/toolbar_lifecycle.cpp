#include "ui/toolbar/toolbar_lifecycle.h"

#include "text/utf8.h"

namespace lk::ui::toolbar {

std::optional<std::string> FontToReselect(const settings::SettingsStore& store) {
  const auto stored = store.Read("Font", "LastFont", "Arial", settings::kDirectReadCapacity);
  // The name is Unicode: a long one cut by the buffer loses its last
  // character whole, never half of it.
  const auto name = text::WithoutCutEnd(stored);
  if (name.empty()) return std::nullopt;
  return std::string(name);
}

std::optional<std::string> StartFont(const settings::SettingsStore& store, platform::Shell& shell) {
  const auto last = FontToReselect(store);
  return last ? shell.ScreenFontNamed(*last) : std::nullopt;
}

bool SaveOnClose(const std::optional<Corner>& corner, const settings::SettingsStore& store,
                 const std::string& fontText) {
  const bool position = SavePosition(corner, store);
  return store.Write("Font", "LastFont", fontText) && position;
}

}  // namespace lk::ui::toolbar
