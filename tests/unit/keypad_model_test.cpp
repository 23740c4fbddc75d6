#include "ui/toolbar/keypad_model.h"

#include <gtest/gtest.h>

#include <string>

namespace lk::ui::toolbar {
namespace {

TEST(KeypadModel, EveryKeyShowsItsCodeAsCaptionDigitsAndTooltip) {
  for (int index = 0; index < 224; ++index) {
    const int code = index + 32;
    const std::string caption = KeyCaption(index);
    ASSERT_EQ(caption.size(), 1u) << index;
    EXPECT_EQ(static_cast<unsigned char>(caption[0]), code) << index;
    const std::string digits = KeyDigits(index);
    ASSERT_EQ(digits.size(), 4u) << index;
    EXPECT_EQ(std::stoi(digits), code) << index;
    EXPECT_EQ(KeyTooltip(index), "    Alt+" + digits + "   [" + caption + "]   ") << index;
  }
  EXPECT_EQ(KeyTooltip(0), "    Alt+0032   [ ]   ");
  EXPECT_EQ(KeyTooltip(33), "    Alt+0065   [A]   ");
  EXPECT_EQ(KeyDigits(1), "0033");
  EXPECT_EQ(KeyCaption(223), "\xFF");
  EXPECT_EQ(KeyDigits(223), "0255");
}

}  // namespace
}  // namespace lk::ui::toolbar

namespace lk::ui::toolbar {
namespace {

int Index(unsigned char code) { return code - 32; }

TEST(KeyLayoutTooltip, ReadsTheGlyphAndNamesTheKeyThatTypesIt) {
  using convert::LegacyFont;
  EXPECT_EQ(KeyLayoutTooltip(Index('s'), LegacyFont::kPreeti), "क  —  s");
  EXPECT_EQ(KeyLayoutTooltip(Index('f'), LegacyFont::kPreeti), "◌ा  —  f");       // a sign on its circle
  EXPECT_EQ(KeyLayoutTooltip(Index('|'), LegacyFont::kPreeti), "◌्र  —  |");
  EXPECT_EQ(KeyLayoutTooltip(Index('{'), LegacyFont::kPreeti), "र्  (reph)  —  {");
  EXPECT_EQ(KeyLayoutTooltip(Index(0x89), LegacyFont::kPreeti), "झ्  —  Alt+0137");
  EXPECT_EQ(KeyLayoutTooltip(Index('1'), LegacyFont::kPcsNepali), "१  —  1");    // each family its own
  EXPECT_EQ(KeyLayoutTooltip(Index('F'), LegacyFont::kKantipur), "◌ा  —  F");
  EXPECT_EQ(KeyLayoutTooltip(Index(0x80), LegacyFont::kPreeti), "");              // nothing drawn there
}

}  // namespace
}  // namespace lk::ui::toolbar
