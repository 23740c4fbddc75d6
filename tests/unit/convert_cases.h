#pragma once
// Conversion cases expect every character to have an equivalent: a helper
// that converts and says so when one had none.
#include <gtest/gtest.h>

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

}  // namespace lk::convert
