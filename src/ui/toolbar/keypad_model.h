#pragma once
// What a keypad key shows once a font is chosen: key i stands for code i + 32.
#include <string>

namespace lk::ui::toolbar {

std::string KeyCaption(int index);
// "    Alt+0065   [A]   ": the code in four digits, then the caption.
std::string KeyTooltip(int index);
// The code in four digits, the way Alt and the numeric keypad enter it.
std::string KeyDigits(int index);

}  // namespace lk::ui::toolbar
