#pragma once
// Where the toolbar stands: the stored corner applied at every resize, and the
// corner written back when the program closes.
#include <optional>
#include <string>

#include "settings/settings_store.h"

namespace lk::ui::toolbar {

struct Corner {
  int x;
  int y;
};

class Placement {
 public:
  // Left keeps the last good value when the stored text is not a number
  // (0 before the first); Top falls back to 0.
  Corner StoredCorner(const settings::SettingsStore& store);

 private:
  int x_ = 0;
};

// The stored text of a coordinate: the number with one leading blank when it is
// not negative (" 120"), or the bare bound when it is clamped ("0", "600").
std::string PositionText(int value, int upperBound);

// Writes WinPos Left and Top from the window's outer corner; nothing when the
// corner cannot be had. False when a write failed.
bool SavePosition(const std::optional<Corner>& corner, const settings::SettingsStore& store);

inline constexpr int kMaxLeft = 600;
inline constexpr int kMaxTop = 400;

}  // namespace lk::ui::toolbar
