#pragma once
// SpreadsheetML strings: a shared string (si), an inline string (is) or a
// comment's text, each either one plain t or rich runs r with their own
// font properties rPr. A part that names no font (a plain string, a run
// without rFont) shows in the font of the cell that holds it.
#include <optional>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "documents/drawing_text.h"
#include "documents/run_model.h"

namespace lk::documents {

// The font of the cell showing a string.
struct CellFont {
  std::optional<convert::LegacyFont> family;
  // The style sheet's font element, copied into a run that must stop
  // taking the cell's font; null when there is none (comments).
  pugi::xml_node font;
};

struct StringOutcome {
  bool changed = false;
  // The cell must take the new font (the Unicode font, or the legacy
  // family to legacy): text that shows in the cell's font was converted.
  bool cellTakesNewFont = false;
};

// Converts one string in place. canChangeCellFont is false where the
// string has no cell (comments) or the cell cannot be given a new format:
// runs that must change font then get rPr of their own.
StringOutcome ConvertSheetString(pugi::xml_node item, const CellFont& cell, bool canChangeCellFont,
                                 const ThemeFonts& theme, const ConvertSettings& settings, Tally& tally);

// Whether ConvertSheetString could change the string: some of its text is
// in a legacy family (to Unicode) or Devanagari outside one (to legacy).
// Reads the string only, so that one that stays need not be copied.
bool SheetStringMayChange(pugi::xml_node item, const CellFont& cell, const ThemeFonts& theme,
                          const ConvertSettings& settings);

// The family a style sheet font element (or a run's rPr) displays in: its
// name (rFont in a run), unless scheme says it follows the theme.
std::string FontNameOf(pugi::xml_node font, const ThemeFonts& theme);

// Excel writes characters XML cannot hold as _xHHHH_ (and a literal "_x"
// that would read as one as _x005F_x).
std::string DecodeEscapes(std::string_view stored);
// Cell text keeps its tabs and line breaks as they are; a table's column
// name escapes them too, in the lower-case hex Excel writes there.
enum class EscapeStyle { kCellText, kColumnName };
std::string EncodeEscapes(std::string_view text, EscapeStyle style = EscapeStyle::kCellText);

}  // namespace lk::documents
