// The one UTF-8 decoder at the edges of its rules, in both ways of replacing
// what is ill-formed, whole and cut into pieces at every place.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "text/utf8.h"

namespace {

using lk::text::kReplacement;
using lk::text::StepUtf8;
using lk::text::Utf8Faults;
using lk::text::Utf8Stream;

struct StepRow {
  std::string_view bytes;
  bool valid;
  char32_t cp;  // when valid
  int length;   // of the character, or of the maximal subpart
  bool cut;
};

TEST(Utf8Decoder, OneStepAtTheEdgesOfEachForm) {
  const StepRow rows[] = {
      {"\x7F", true, 0x7F, 1, false},
      {"\xC2\x80", true, 0x80, 2, false},          // the smallest two-byte form
      {"\xDF\xBF", true, 0x7FF, 2, false},
      {"\xE0\xA0\x80", true, 0x800, 3, false},     // the smallest three-byte form
      {"\xED\x9F\xBF", true, 0xD7FF, 3, false},    // just below the surrogates
      {"\xEE\x80\x80", true, 0xE000, 3, false},    // just above them
      {"\xEF\xBF\xBF", true, 0xFFFF, 3, false},
      {"\xF0\x90\x80\x80", true, 0x10000, 4, false},
      {"\xF4\x8F\xBF\xBF", true, 0x10FFFF, 4, false},
      // Overlong forms: the lead alone is the maximal subpart.
      {"\xC0\x80", false, 0, 1, false},
      {"\xC1\xBF", false, 0, 1, false},
      {"\xE0\x9F\xBF", false, 0, 1, false},
      {"\xF0\x8F\xBF\xBF", false, 0, 1, false},
      // Surrogates and values past U+10FFFF.
      {"\xED\xA0\x80", false, 0, 1, false},
      {"\xED\xBF\xBF", false, 0, 1, false},
      {"\xF4\x90\x80\x80", false, 0, 1, false},
      {"\xF5\x80\x80\x80", false, 0, 1, false},
      {"\xFF", false, 0, 1, false},
      // A stray continuation byte.
      {"\x80", false, 0, 1, false},
      // Broken off by another character: the start that could have gone on.
      {"\xE1\x80" "A", false, 0, 2, false},
      {"\xF1\x80\x80" "A", false, 0, 3, false},
      {"\xC3" "A", false, 0, 1, false},
      // Cut by the end of the text where more could follow.
      {"\xC3", false, 0, 1, true},
      {"\xE0\xA0", false, 0, 2, true},
      {"\xF0\x90\x80", false, 0, 3, true},
      {"\xF4\x8F", false, 0, 2, true},
      // Cut, but already wrong: no byte could finish it.
      {"\xE0\x80", false, 0, 1, false},
      {"\xF4\x90", false, 0, 1, false},
  };
  for (const StepRow& row : rows) {
    const auto step = StepUtf8(row.bytes, 0);
    SCOPED_TRACE(::testing::PrintToString(std::string(row.bytes)));
    EXPECT_EQ(step.valid, row.valid);
    EXPECT_EQ(step.cp, row.valid ? row.cp : kReplacement);
    EXPECT_EQ(step.length, row.length);
    EXPECT_EQ(step.cut, row.cut);
    char32_t cp = 0;
    EXPECT_EQ(lk::text::DecodeUtf8(row.bytes, 0, cp), row.valid ? static_cast<std::size_t>(row.length) : 0u);
  }
}

std::u32string Decode(const std::vector<std::string_view>& pieces, Utf8Faults faults) {
  std::u32string out;
  const auto take = [&out](char32_t c, bool valid) {
    EXPECT_EQ(valid, c != kReplacement);
    out.push_back(c);
    return true;
  };
  Utf8Stream stream(faults);
  for (const auto piece : pieces) EXPECT_TRUE(stream.Feed(piece, take));
  EXPECT_TRUE(stream.Finish(take));
  EXPECT_FALSE(stream.holding());
  return out;
}

struct TextRow {
  std::string_view bytes;
  std::u32string eachByte;
  std::u32string maximal;
};

const std::vector<TextRow>& Texts() {
  constexpr char32_t R = kReplacement;
  static const std::vector<TextRow> rows = {
      {"a\xE0\xA4\x95" "b", U"a\u0915b", U"a\u0915b"},
      // Unicode's own example of maximal subparts.
      {"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
       {'a', R, R, R, R, R, R, 'b', R, 'c', R, R, 'd'},
       {'a', R, R, R, 'b', R, 'c', R, R, 'd'}},
      {"\xED\xA0\x80x", {R, R, R, 'x'}, {R, R, R, 'x'}},
      {"\xC0\xAF", {R, R}, {R, R}},
      // Cut at the very end of the text.
      {"x\xF0\x9F\x98", {'x', R, R, R}, {'x', R}},
      {"\xE0\xA4", {R, R}, {R}},
      {"\xF0\x9F\x98\x80\xF0\x9F", {0x1F600, R, R}, {0x1F600, R}},
      {"", {}, {}},
  };
  return rows;
}

TEST(Utf8Decoder, WholeTextsInEitherWayOfReplacing) {
  for (const TextRow& row : Texts()) {
    SCOPED_TRACE(::testing::PrintToString(std::string(row.bytes)));
    EXPECT_EQ(Decode({row.bytes}, Utf8Faults::kEachByte), row.eachByte);
    EXPECT_EQ(Decode({row.bytes}, Utf8Faults::kMaximalSubpart), row.maximal);
  }
  // The conversions that name a way keep to it.
  EXPECT_EQ(lk::text::Utf8ToUtf32(Texts()[1].bytes), Texts()[1].eachByte);
}

// A buffer may end anywhere, inside a sequence or inside an ill-formed run:
// cut into two or three pieces at every place, each text decodes as whole.
TEST(Utf8Decoder, PiecesCutAnywhereDecodeAsTheWhole) {
  for (const TextRow& row : Texts()) {
    const std::string_view bytes = row.bytes;
    for (const Utf8Faults faults : {Utf8Faults::kEachByte, Utf8Faults::kMaximalSubpart}) {
      const std::u32string& whole = faults == Utf8Faults::kEachByte ? row.eachByte : row.maximal;
      for (std::size_t i = 0; i <= bytes.size(); ++i) {
        for (std::size_t j = i; j <= bytes.size(); ++j) {
          SCOPED_TRACE(::testing::PrintToString(std::string(bytes)) + " cut at " + std::to_string(i) + " and " +
                       std::to_string(j));
          EXPECT_EQ(Decode({bytes.substr(0, i), bytes.substr(i, j - i), bytes.substr(j)}, faults), whole);
        }
      }
      // A byte at a time, with empty pieces between.
      std::vector<std::string_view> bytewise;
      for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytewise.push_back(bytes.substr(i, 1));
        bytewise.push_back({});
      }
      EXPECT_EQ(Decode(bytewise, faults), whole);
    }
  }
}

TEST(Utf8Decoder, StopsWhereTakeSaysSo) {
  struct Row {
    std::vector<std::string_view> pieces;
    std::size_t stopAfter;  // characters taken, the last one refused
  };
  for (const Row& row : {Row{{"ab\x80" "cd"}, 3}, Row{{"a\xE0", "\xA4\x95" "b"}, 2}, Row{{"a\xE0", "x"}, 2}}) {
    Utf8Stream stream(Utf8Faults::kMaximalSubpart);
    std::size_t taken = 0;
    const auto take = [&](char32_t, bool) { return ++taken < row.stopAfter; };
    bool going = true;
    for (const auto piece : row.pieces) going = going && stream.Feed(piece, take);
    EXPECT_FALSE(going);
    EXPECT_EQ(taken, row.stopAfter);
    EXPECT_FALSE(stream.holding());
  }
}

TEST(Utf8Decoder, OnlyACutSequenceIsHeldForTheNextPiece) {
  struct Row {
    std::string_view piece;
    bool held;
  };
  for (const Row& row : {Row{"a\xE0\xA4", true}, Row{"a\xE0\x80", false}, Row{"a\xF0\x9F\x98", true},
                         Row{"\xF4\x90", false}, Row{"a", false}}) {
    Utf8Stream stream(Utf8Faults::kEachByte);
    stream.Feed(row.piece, [](char32_t, bool) { return true; });
    EXPECT_EQ(stream.holding(), row.held) << ::testing::PrintToString(std::string(row.piece));
  }
}

}  // namespace
