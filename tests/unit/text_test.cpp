#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

#include "text/cp1252.h"
#include "text/number.h"
#include "text/trim.h"
#include "text/utf8.h"

namespace lk::text {
namespace {

TEST(Cp1252, EveryCodeRoundTripsThroughOneUnit) {
  std::string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
  const auto units = Cp1252ToUtf16(all);
  ASSERT_EQ(units.size(), 256u);
  EXPECT_EQ(Utf16ToCp1252(units), all);
  for (int c = 0; c < 256; ++c) {
    if (c < 0x80 || c >= 0xA0) {
      EXPECT_EQ(units[c], static_cast<char16_t>(c)) << c;
    }
  }
}

TEST(Cp1252, HighControlsRangeMatchesThePublishedCodePage) {
  // A transposed entry still round-trips, so only an independent copy of the
  // code page catches it.
  const std::u16string expected =
      u"\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u008D\u017D\u008F"
      u"\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178";
  for (int c = 0x80; c < 0xA0; ++c) EXPECT_EQ(Cp1252ToUnit(static_cast<unsigned char>(c)), expected[c - 0x80]) << c;
}

TEST(Cp1252, UndefinedCodesMapToTheControlOfTheSameValue) {
  for (unsigned char code : {129, 141, 143, 144, 157}) {
    EXPECT_EQ(Cp1252ToUnit(code), static_cast<char16_t>(code));
    EXPECT_EQ(Utf16ToCp1252(std::u16string(1, static_cast<char16_t>(code))), std::string(1, static_cast<char>(code)));
  }
}

TEST(Cp1252, UnitsWithoutACodeBecomeQuestionMarks) {
  EXPECT_EQ(Utf16ToCp1252(u"a\u0915b"), "a?b");
  EXPECT_EQ(Utf16ToCp1252(u"\u4E2D\u2026"), "?\x85");
  EXPECT_EQ(Utf16ToCp1252(u"\U0001F600"), "??");
  EXPECT_EQ(Utf16ToCp1252(u"\u0080\u009F"), "??");
}

TEST(Trim, OnlyBlanksAreTrimmed) {
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
  EXPECT_EQ(TrimBlanks(" \r\n "), "\r\n");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks(""), "");
  EXPECT_EQ(TrimTrailingBlanks("  a  "), "  a");
  EXPECT_EQ(TrimTrailingBlanks("  "), "");
  EXPECT_TRUE(EqualsIgnoreCase("CfontName", "cFONTname"));
  EXPECT_FALSE(EqualsIgnoreCase("cap01", "cap1"));
  EXPECT_FALSE(EqualsIgnoreCase("[", "{"));  // 0x5B and 0x7B differ by the case bit but are not letters
}

// Each row: a text and what it reads as (nothing: not a number).
template <class Value>
using Readings = std::initializer_list<std::pair<const char*, Value>>;

template <class Read, class Value>
void ExpectReadings(Read read, Readings<Value> rows) {
  for (const auto& [text, value] : rows) EXPECT_EQ(read(text), value) << "[" << text << "]";
}

TEST(Number, ParseNumericAcceptsOnlyAWholeNumber) {
  ExpectReadings(ParseNumeric,
                 Readings<std::optional<double>>{{"-2", -2.0}, {"2.5", 2.5}, {" 3 ", 3.0}, {"+4", 4.0}, {".5", 0.5}});
  for (const char* no : {"", "  ", "a", "1a", ".", "-", "1 2", "--1", "\t3", "0x10"})
    EXPECT_EQ(ParseNumeric(no), std::nullopt) << "[" << no << "]";
}

TEST(Number, ToInt32RoundsHalvesToEvenAndRejectsWhatDoesNotFit) {
  ExpectReadings(ToInt32, Readings<std::optional<std::int32_t>>{
                              {"2.5", 2},
                              {"3.5", 4},
                              {"-2.5", -2},
                              {"2.51", 3},
                              {" 120", 120},
                              {"2147483647", 2147483647},
                              {"-2147483648", -2147483647 - 1},
                              {"2147483648", std::nullopt},
                              {"2147483647.5", std::nullopt},
                              {"-2147483649", std::nullopt},
                              {"99999999999999999999", std::nullopt},
                              {"abc", std::nullopt},
                          });
}

TEST(Number, NumberTextPutsABlankBeforeNonNegativeNumbers) {
  EXPECT_EQ(NumberText(120), " 120");
  EXPECT_EQ(NumberText(0), " 0");
  EXPECT_EQ(NumberText(-8), "-8");
}

TEST(Number, LeadingNumberReadsUpToTheFirstCharacterThatCannotContinueIt) {
  ExpectReadings(LeadingNumber, Readings<double>{
                                    {"3abc", 3.0},
                                    {"abc", 0.0},
                                    {"  -2", -2.0},
                                    {"1.5.5", 1.5},
                                    {"0x10", 0.0},
                                    {"", 0.0},
                                });
}

TEST(Utf8, RoundTripsEveryPlaneIncludingSurrogatePairs) {
  const std::string text = "a\u00E9\u0928\u094D\u20AC\U0001F600z";
  const std::u16string units = Utf8ToUtf16(text);
  EXPECT_EQ(units, u"a\u00E9\u0928\u094D\u20AC\U0001F600z");
  EXPECT_EQ(Utf16ToUtf8(units), text);
}

TEST(Utf8, IllFormedInputBecomesReplacementCharactersInPlace) {
  // A stray continuation, an overlong slash, an encoded surrogate, a cut sequence.
  EXPECT_EQ(Utf8ToUtf16("a\x80" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
  // The surrogate's lead byte cannot take A0: three maximal subparts of one byte.
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80x"), u"\uFFFD\uFFFD\uFFFDx");
  EXPECT_EQ(Utf8ToUtf16("x\xE0\xA4"), u"x\uFFFD");
  // An unpaired surrogate from the system, high or low.
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', char16_t(0xD800), u'b', char16_t(0xDC00)}),
            "a\uFFFDb\uFFFD");
}

TEST(Utf8, WrittenIntoMemoryAsIntoAString) {
  // The clipboard's memory is sized by Utf16Length: a unit more or less
  // would cut the text or leave garbage before its NUL.
  for (const std::string_view text : {std::string_view(""), std::string_view("plain"),
                                      std::string_view("\u0928\u0947\u092A\u093E\u0932 \u00E9\u20AC"),
                                      std::string_view("\U0001F600x\uF06B"), std::string_view("a\x80" "b\xC0\xAF"),
                                      std::string_view("\xED\xA0\x80x\xE0\xA4")}) {
    const std::size_t units = Utf16Length(text);
    std::u16string wide(units + 1, u'#');
    WriteUtf16(text, wide.data());
    EXPECT_EQ(wide, Utf8ToUtf16(text) + u'#') << text;
    std::string legacy(units + 1, '#');
    WriteCp1252(text, legacy.data());
    EXPECT_EQ(legacy, Utf8ToCp1252(text) + '#') << text;
  }
}

TEST(Utf8, LegacyTextThroughTheTableEveryCodeAndSymbolFontCodes) {
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\xE9"), "\u20AC\u00E9");
  // A symbol-charset font's text arrives as U+F0xx.
  EXPECT_EQ(Utf8ToCp1252("\uF06B\uF0A9\uF020"), "k\xA9 ");
  EXPECT_EQ(Utf8ToCp1252("\u0928"), "?");
}

}  // namespace
TEST(Utf8, OnlyACharacterCutShortAtTheEndIsDropped) {
  const std::string face = "\U0001F600";  // four bytes
  EXPECT_EQ(WithoutCutEnd("ab" + face), "ab" + face);
  EXPECT_EQ(WithoutCutEnd("ab" + face.substr(0, 1)), "ab");
  EXPECT_EQ(WithoutCutEnd("ab" + face.substr(0, 3)), "ab");
  EXPECT_EQ(WithoutCutEnd("\u0915\u0915"), "\u0915\u0915");
  EXPECT_EQ(WithoutCutEnd(""), "");
  // Not a cut but stray bytes: left for the reader to see.
  EXPECT_EQ(WithoutCutEnd("a\x80\x80\x80\x80\x80"), "a\x80\x80\x80\x80\x80");
}

}  // namespace lk::text
