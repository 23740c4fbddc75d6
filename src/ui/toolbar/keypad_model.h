#pragma once
// What a keypad key shows once a font is chosen: key i stands for code i + 32.
#include <string>

#include "convert/legacy_font.h"

namespace lk::ui::toolbar {

std::string KeyCaption(int index);
// "    Alt+0065   [A]   ": the code in four digits, then the caption.
std::string KeyTooltip(int index);
// The code in four digits, the way Alt and the numeric keypad enter it.
std::string KeyDigits(int index);
// With a legacy family the converter knows: what the key's glyph reads as in
// Unicode and the key that types it, "क  —  s" (UTF-8); empty where the font
// draws nothing.
std::string KeyLayoutTooltip(int index, convert::LegacyFont font);

}  // namespace lk::ui::toolbar
