// Unicode written as a careful typist would type it in the legacy font, and
// every code of every font read and written back.
#include <gtest/gtest.h>

#include <string>

#include "convert/converter.h"
#include "convert_cases.h"
#include "convert/font_tables.h"
#include "text/cp1252.h"
#include "text/utf8.h"

namespace lk::convert {
namespace {

std::string Leg(std::string_view unicode, LegacyFont font = LegacyFont::kPreeti) {
  return FullyConverted(Direction::kToLegacy, unicode, font);
}

TEST(ToLegacy, IKarGoesBeforeTheWholeCluster) {
  EXPECT_EQ(Leg("अग्रिम"), "clu|d");
  EXPECT_EQ(Leg("प्रतिक्रिया"), "k|ltls|of");
  EXPECT_EQ(Leg("फ्रिज"), "lk|mh");
  EXPECT_EQ(Leg("बुद्धि"), "a'l4");
  EXPECT_EQ(Leg("दृष्टि"), "b[li6");
  EXPECT_EQ(Leg("मन्त्रि"), "dlGq");
}

TEST(ToLegacy, RephGoesAfterTheSyllable) {
  EXPECT_EQ(Leg("गर्दा"), "ubf{");
  EXPECT_EQ(Leg("कर्मं"), "sd+{");
  EXPECT_EQ(Leg("हेर्थ्यो"), "x]Yof]{");
  EXPECT_EQ(Leg("कीर्ति"), "sLlt{");
  EXPECT_EQ(Leg("अतर्क्य"), "ctSo{");      // over a conjunct, never a visible र्
  EXPECT_EQ(Leg("अन्तर्ज्ञान"), "cGt1f{g");
  EXPECT_EQ(Leg("धर्म"), "wd{");            // at the very end of the input
  EXPECT_EQ(Leg("धर्म "), "wd{ ");
  EXPECT_EQ(Leg("ईश्वर"), "O{Zj/");
}

TEST(ToLegacy, LigatureAndHalfFormKeysBeforeAnyVisibleHalant) {
  EXPECT_EQ(Leg("उद्योग"), "pBf]u");
  EXPECT_EQ(Leg("पद्म"), "kß");
  EXPECT_EQ(Leg("सङ्ग"), ";Ë");
  EXPECT_EQ(Leg("लक्ष्मी"), "nIdL");
  EXPECT_EQ(Leg("क्षमा"), "Ifdf");
  EXPECT_EQ(Leg("ज्ञान"), "1fg");
  EXPECT_EQ(Leg("सम्पत्ति"), ";DklQ");
  EXPECT_EQ(Leg("चिह्न"), "lrXg");
  EXPECT_EQ(Leg("वाङ्मय"), "jfª\\do");      // ङ has no half form
  EXPECT_EQ(Leg("ट्याक्सी"), "6ØfS;L");       // ya-phala where no half form exists
  EXPECT_EQ(Leg("ट्रक"), "6«s");             // the caret rakar under ट
  EXPECT_EQ(Leg("आफ्नो"), "cfˆgf]");
  EXPECT_EQ(Leg("फूल"), "km\"n");
  EXPECT_EQ(Leg("रुपैयाँ"), "?k}ofF");
  EXPECT_EQ(Leg("रूप"), "¿k");
  EXPECT_EQ(Leg("हृदय"), "Åbo");
}

TEST(ToLegacy, JoinersAndNormalisation) {
  EXPECT_EQ(Leg("अद्‌भुत"), "cb\\e't");      // ZWNJ keeps the halant visible
  EXPECT_EQ(Leg("पर्‍यो"), "k¥of]");          // eyelash RA as the dictionaries spell it
  EXPECT_EQ(Leg("पऱ्यो"), "k¥of]");           // and as RRA
  EXPECT_EQ(Leg("\xEF\xBB\xBFक"), "s");       // BOM
  EXPECT_EQ(Leg("ड़"), "8Þ");                  // precomposed U+095C
  EXPECT_EQ(Leg("ड़"), "8Þ");
  EXPECT_EQ(Leg("अर्थात्"), "cyf{t\\");       // a final virama is written visibly
  EXPECT_EQ(Leg("ॐ बॉल ऑफिस सोऽहम्"), "ç af‘n cf‘lkm; ;f]˜xd\\");
}

TEST(ToLegacy, DigitsAndPunctuationGoToTheirKeys) {
  EXPECT_EQ(Leg("२०७९ 2079"), "@)&( @)&(");
  EXPECT_EQ(Leg("हो। हो॥"), "xf]. xf]..");
  EXPECT_EQ(Leg("3.5? (क) बार-बार!"), "#=%< -s_ af/–af/Û");
  EXPECT_EQ(Leg("\"क\" 'ख'"), "æsÆ …vÚ");
  EXPECT_EQ(Leg("५%; १=१"), "%ÜÙ !Ö!");
}

TEST(ToLegacy, WhatNoGlyphDrawsPassesThroughCounted) {
  Unconverted unconverted;
  EXPECT_EQ(ToLegacy("नेपाल Nepal*\nळ", {}, &unconverted), "g]kfn Nepal*\nळ");
  EXPECT_EQ(unconverted.count, 7u);
  EXPECT_EQ(unconverted.line, 1u);
  EXPECT_EQ(unconverted.column, 7u);
}

TEST(ToLegacyFonts, EachFamilyWritesItsOwnCodes) {
  EXPECT_EQ(Leg("का", LegacyFont::kKantipur), "sf");      // f, not its second ा at F
  EXPECT_EQ(Leg("कँ", LegacyFont::kKantipur), "s“");
  EXPECT_EQ(Leg("द्र", LegacyFont::kKantipur), "b|");      // › draws ऽ there
  EXPECT_EQ(Leg("२०७९", LegacyFont::kPcsNepali), "2079");
  EXPECT_EQ(Leg("ज्ञान", LegacyFont::kPcsNepali), "!fg");
  EXPECT_EQ(Leg("प्र", LegacyFont::kPcsNepali), "k|");
  EXPECT_EQ(Leg("पर्‍यो", LegacyFont::kPcsNepali), "kCof]");
  EXPECT_EQ(Leg("ऋ", LegacyFont::kPcsNepali), "¥");
  EXPECT_EQ(Leg("२०७९", LegacyFont::kFontasyHimaliTt), "2079");
  EXPECT_EQ(Leg("के", LegacyFont::kSagarmatha), "s]");
}

// The toolbar's own legacy text is Windows-1252 bytes, one per code.
TEST(LegacyBytes, CodesAsBytesBothWays) {
  EXPECT_EQ(LegacyBytesToUnicode("\x89\x66 \xA7"), "झ ट्ट");  // ‰ is code 0x89, not U+2030's bytes
  EXPECT_EQ(UnicodeToLegacyBytes("झुल"), "\xB4'n");
  EXPECT_EQ(UnicodeToLegacyBytes("“नेपाल”"), "\xE6g]kfn\xC6");
  Unconverted unconverted;
  // What passes through without a code of its own cannot become one.
  EXPECT_EQ(UnicodeToLegacyBytes("क中", {}, &unconverted), "s?");
  EXPECT_EQ(unconverted.count, 1u);
}

// Every code a font draws, written out and read back, is what it was; every
// code it does not draw passes through and is counted. Codes only some builds
// of a font draw are read but never written.
TEST(EveryCode, ReadsBackThroughEachFont) {
  for (LegacyFont font : kAllLegacyFonts) {
    Options options;
    options.font = font;
    int drawn = 0;
    for (int code = 0x21; code < 0x100; ++code) {
      std::string legacy;
      lk::text::AppendUtf8(legacy, lk::text::Cp1252ToUnit(static_cast<unsigned char>(code)));
      Unconverted unconverted;
      const std::string unicode = ToUnicode(legacy, options, &unconverted);
      if (unconverted.count > 0) {
        EXPECT_EQ(unicode, legacy) << LegacyFontName(font) << " code " << code;
        continue;
      }
      ++drawn;
      if (TableFor(font).glyphs[code].readOnly) continue;
      Unconverted back;
      const std::string again = ToUnicode(ToLegacy(unicode, options, &back), options);
      EXPECT_EQ(again, unicode) << LegacyFontName(font) << " code " << code;
      EXPECT_EQ(back.count, 0u) << LegacyFontName(font) << " code " << code;
    }
    EXPECT_GT(drawn, 120) << LegacyFontName(font);
  }
}

}  // namespace
}  // namespace lk::convert
