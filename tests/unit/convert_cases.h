#pragma once
// Conversion cases expect every character to have an equivalent: a helper
// that converts and says so when one had none.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "convert/converter.h"

namespace lk::convert {

inline std::string FullyConverted(Direction direction, std::string_view text, LegacyFont font) {
  Options options;
  options.font = font;
  Unconverted unconverted;
  std::string out = direction == Direction::kToUnicode ? ToUnicode(text, options, &unconverted)
                                                       : ToLegacy(text, options, &unconverted);
  EXPECT_EQ(unconverted.count, 0u) << "in " << text;
  return out;
}

// A text and what it converts to, in Preeti unless the row names its font.
struct Conversion {
  std::string_view from;
  std::string_view to;
  LegacyFont font = LegacyFont::kPreeti;
};

inline void ExpectConversions(Direction direction, std::initializer_list<Conversion> rows) {
  for (const Conversion& row : rows)
    EXPECT_EQ(FullyConverted(direction, row.from, row.font), row.to) << "from " << row.from;
}

// Characters without an equivalent pass through: counted, and the first one
// placed by line and column for the user to find.
inline void ExpectPassedThrough(Direction direction, std::string_view from, std::string_view to,
                                const Unconverted& expected) {
  Unconverted unconverted;
  const std::string out = direction == Direction::kToUnicode ? ToUnicode(from, {}, &unconverted)
                                                             : ToLegacy(from, {}, &unconverted);
  EXPECT_EQ(out, to);
  EXPECT_EQ(unconverted.count, expected.count) << "from " << from;
  EXPECT_EQ(unconverted.line, expected.line) << "from " << from;
  EXPECT_EQ(unconverted.column, expected.column) << "from " << from;
}

inline void ExpectToUnicode(std::initializer_list<Conversion> rows) {
  ExpectConversions(Direction::kToUnicode, rows);
}
inline void ExpectToLegacy(std::initializer_list<Conversion> rows) { ExpectConversions(Direction::kToLegacy, rows); }

}  // namespace lk::convert
