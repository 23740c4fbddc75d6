#include "ui/toolbar/keypad_model.h"

namespace lk::ui::toolbar {

std::string KeyCaption(int index) { return std::string(1, static_cast<char>(index + 32)); }

std::string KeyDigits(int index) {
  const int code = index + 32;
  std::string digits = std::to_string(code);
  return std::string(4 - digits.size(), '0') + digits;
}

std::string KeyTooltip(int index) { return "    Alt+" + KeyDigits(index) + "   [" + KeyCaption(index) + "]   "; }

}  // namespace lk::ui::toolbar

#include <cmath>

namespace lk::ui::toolbar {

int CentredStart(int innerTwips, int characterTwips) {
  return static_cast<int>(std::nearbyint((innerTwips - characterTwips) / 2.0));
}

}  // namespace lk::ui::toolbar
