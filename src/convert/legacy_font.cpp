#include "convert/legacy_font.h"

#include <string>

namespace lk::convert {
namespace {

std::string Squeezed(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c == ' ' || c == '\t' || c == '-' || c == '_') continue;
    out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  }
  return out;
}

}  // namespace

std::string_view LegacyFontName(LegacyFont font) {
  switch (font) {
    case LegacyFont::kPreeti: return "Preeti";
    case LegacyFont::kKantipur: return "Kantipur";
    case LegacyFont::kSagarmatha: return "Sagarmatha";
    case LegacyFont::kPcsNepali: return "PCS NEPALI";
    case LegacyFont::kFontasyHimaliTt: return "FONTASY_HIMALI_TT";
  }
  return "Preeti";
}

std::optional<LegacyFont> LegacyFontByName(std::string_view familyName) {
  const std::string wanted = Squeezed(familyName);
  for (LegacyFont font : kAllLegacyFonts) {
    if (Squeezed(LegacyFontName(font)) == wanted) return font;
  }
  return std::nullopt;
}

}  // namespace lk::convert
