#include "ui/toolbar/placement.h"

#include "text/number.h"

namespace lk::ui::toolbar {

Corner Placement::StoredCorner(const settings::SettingsStore& store) {
  const auto left = store.Read("WinPos", "Left", "0", settings::kDirectReadCapacity);
  if (const auto x = text::ToInt32(left)) x_ = *x;
  const auto top = store.Read("WinPos", "Top", "300", settings::kDirectReadCapacity);
  return {x_, text::ToInt32(top).value_or(0)};
}

std::string PositionText(int value, int upperBound) {
  if (value < 0) return "0";
  if (value > upperBound) return std::to_string(upperBound);
  return text::NumberText(value);
}

bool SavePosition(const std::optional<Corner>& corner, const settings::SettingsStore& store) {
  if (!corner) return true;
  const bool left = store.Write("WinPos", "Left", PositionText(corner->x, kMaxLeft));
  const bool top = store.Write("WinPos", "Top", PositionText(corner->y, kMaxTop));
  return left && top;
}

}  // namespace lk::ui::toolbar
