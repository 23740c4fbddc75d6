#include "ui/toolbar/keypad_model.h"

#include "convert/font_tables.h"
#include "text/utf8.h"

namespace lk::ui::toolbar {

std::string KeyCaption(int index) { return std::string(1, static_cast<char>(index + 32)); }

std::string KeyDigits(int index) {
  const int code = index + 32;
  std::string digits = std::to_string(code);
  return std::string(4 - digits.size(), '0') + digits;
}

std::string KeyTooltip(int index) { return "    Alt+" + KeyDigits(index) + "   [" + KeyCaption(index) + "]   "; }

std::string KeyLayoutTooltip(int index, convert::LegacyFont font) {
  const int code = index + 32;
  const std::u32string_view units = convert::TableFor(font).glyphs[code].view();
  if (units.empty()) return {};
  std::string glyph;
  if (units[0] == convert::kRephMark) {
    glyph = "र्  (reph)";
  } else if (units[0] == convert::kHookMark) {
    glyph = "फ झ ऊ क्र  (hook)";
  } else if (units[0] == convert::kEyelashMark) {
    glyph = "र्‍  (eyelash)";
  } else {
    // A mark on its own is shown on a dotted circle, as fonts expect it.
    const char32_t first = units[0];
    if (convert::IsModifier(first) || convert::IsVowelSign(first) || first == convert::kIKar ||
        first == convert::kNukta || first == convert::kVirama)
      text::AppendUtf8(glyph, 0x25CC);
    for (char32_t unit : units) text::AppendUtf8(glyph, unit);
  }
  std::string key;
  if (code == ' ') key = "Space";
  else if (code < 127) key.assign(1, static_cast<char>(code));
  else key = "Alt+" + KeyDigits(index);
  return glyph + "  \u2014  " + key;
}

}  // namespace lk::ui::toolbar
