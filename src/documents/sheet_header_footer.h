#pragma once
// A sheet's page headers and footers (oddHeader, evenFooter, ...) hold
// Excel's own little code language rather than runs: "&L", "&C", "&R" start
// a section, "&\"Font,Style\"" switches font, "&12" sets a size, "&B"
// toggles bold, "&P" and its kin are fields, "&&" is one ampersand. Text
// shows in the font last switched to in its section, else the workbook's
// default font.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "documents/run_model.h"

namespace lk::documents {

struct HeaderFooterToken {
  enum class Kind { kText, kSection, kFont, kFormat, kField };
  Kind kind = Kind::kText;
  std::string raw;     // as written
  std::string text;    // text: the characters shown; font: the family ("-" the theme's body font, "+" its heading font)
  std::string style;   // font: what follows the comma ("Bold"); empty when there is no comma
  bool hasStyle = false;
};

std::vector<HeaderFooterToken> TokenizeHeaderFooter(std::string_view codes);

// The families text shows in where the codes name none of their own.
struct HeaderFooterFonts {
  std::string normal;   // before any switch: the workbook's default font (the style sheet's first)
  std::string body;     // after &"-": the theme's body font
  std::string heading;  // after &"+": the theme's heading font
};

// The codes with the text converted by the font it shows in; none when
// nothing changes.
std::optional<std::string> ConvertHeaderFooter(std::string_view codes, const HeaderFooterFonts& fonts,
                                               const ConvertSettings& settings, Tally& tally);

}  // namespace lk::documents
