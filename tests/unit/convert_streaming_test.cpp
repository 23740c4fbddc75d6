// The converter reads pieces of any size: a piece may end inside a syllable,
// between a letter and its reph, or inside a UTF-8 sequence.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "convert/converter.h"
#include "text/utf8.h"

namespace lk::convert {
namespace {

std::string InPieces(Direction direction, std::string_view text, std::mt19937& random, Unconverted& unconverted) {
  Converter converter(direction, {});
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t piece = std::uniform_int_distribution<std::size_t>(0, 5)(random);
    converter.Feed(text.substr(pos, piece), out);
    pos += piece;
  }
  converter.Finish(out);
  unconverted = converter.unconverted();
  return out;
}

TEST(ConvertStreaming, PiecesGiveWhatTheWholeGives) {
  const std::string legacy = "cfly{s ljifo k|:'tt ug]{\r\nk]m hfpFm .. x]Yof]{ Income ‰ s";
  const std::string unicode = "आर्थिक प्रतिक्रिया \"धर्म\"\r\nअद्‌भुत पर्‍यो Nepal ळ धर्म";
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    for (auto [direction, text] : {std::pair{Direction::kToUnicode, legacy}, std::pair{Direction::kToLegacy, unicode}}) {
      Unconverted whole;
      const std::string expected = direction == Direction::kToUnicode ? ToUnicode(text, {}, &whole)
                                                                       : ToLegacy(text, {}, &whole);
      Unconverted pieces;
      ASSERT_EQ(InPieces(direction, text, random, pieces), expected) << "round " << round;
      EXPECT_EQ(pieces.count, whole.count);
      EXPECT_EQ(pieces.line, whole.line);
      EXPECT_EQ(pieces.column, whole.column);
    }
  }
}

TEST(ConvertStreaming, BytesThatAreNotUtf8BecomeReplacementsWhereverThePiecesSplit) {
  // A lone continuation byte, a truncated sequence, an overlong form, a surrogate.
  const std::string text = std::string("s\x80k \xE0\xA4") + " \xC0\xAF \xED\xA0\x80 " + "\xE0";
  Unconverted whole;
  const std::string expected = ToUnicode(text, {}, &whole);
  EXPECT_FALSE(lk::text::FirstInvalidUtf8(expected).has_value());
  EXPECT_EQ(lk::text::Utf8ToUtf32(expected).size(), 15u);  // one replacement per stray byte
  std::mt19937 random(11);
  for (int round = 0; round < 200; ++round) {
    Unconverted pieces;
    ASSERT_EQ(InPieces(Direction::kToUnicode, text, random, pieces), expected) << "round " << round;
    EXPECT_EQ(pieces.count, whole.count);
  }
}

TEST(ConvertStreaming, HeldSyllableWaitsForFinish) {
  Converter converter(Direction::kToUnicode, {});
  std::string out;
  converter.Feed("ug", out);
  EXPECT_EQ(out, "ग");  // न may still take a reph or a vowel sign
  converter.Feed("{", out);
  converter.Finish(out);
  EXPECT_EQ(out, "गर्न");
}

}  // namespace
}  // namespace lk::convert
