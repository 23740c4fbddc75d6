#pragma once
// The legacy font families the converter knows, and how a user names them.
#include <optional>
#include <string_view>

namespace lk::convert {

enum class LegacyFont { kPreeti, kKantipur, kSagarmatha, kPcsNepali, kFontasyHimaliTt };

inline constexpr LegacyFont kAllLegacyFonts[] = {LegacyFont::kPreeti, LegacyFont::kKantipur,
                                                 LegacyFont::kSagarmatha, LegacyFont::kPcsNepali,
                                                 LegacyFont::kFontasyHimaliTt};

// The family name as Windows lists it ("PCS NEPALI", "FONTASY_HIMALI_TT").
std::string_view LegacyFontName(LegacyFont font);

// Matches a family name ignoring case, blanks, '-' and '_', so "pcs-nepali"
// and "Fontasy Himali TT" are found; nothing for any other family.
std::optional<LegacyFont> LegacyFontByName(std::string_view familyName);

}  // namespace lk::convert
