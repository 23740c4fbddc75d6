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

TEST(ToLegacy, IKarGoesBeforeTheWholeCluster) {
  ExpectToLegacy({
      {"अग्रिम", "clu|d"},
      {"प्रतिक्रिया", "k|ltls|of"},
      {"फ्रिज", "lk|mh"},
      {"बुद्धि", "a'l4"},
      {"दृष्टि", "b[li6"},
      {"मन्त्रि", "dlGq"},
  });
}

TEST(ToLegacy, RephGoesAfterTheSyllable) {
  ExpectToLegacy({
      {"गर्दा", "ubf{"},
      {"कर्मं", "sd+{"},
      {"हेर्थ्यो", "x]Yof]{"},
      {"कीर्ति", "sLlt{"},
      {"अतर्क्य", "ctSo{"},      // over a conjunct, never a visible र्
      {"अन्तर्ज्ञान", "cGt1f{g"},
      {"धर्म", "wd{"},            // at the very end of the input
      {"धर्म ", "wd{ "},
      {"ईश्वर", "O{Zj/"},
  });
}

TEST(ToLegacy, LigatureAndHalfFormKeysBeforeAnyVisibleHalant) {
  ExpectToLegacy({
      {"उद्योग", "pBf]u"},
      {"पद्म", "kß"},
      {"सङ्ग", ";Ë"},
      {"लक्ष्मी", "nIdL"},
      {"क्षमा", "Ifdf"},
      {"ज्ञान", "1fg"},
      {"सम्पत्ति", ";DklQ"},
      {"चिह्न", "lrXg"},
      {"वाङ्मय", "jfª\\do"},      // ङ has no half form
      {"ट्याक्सी", "6ØfS;L"},       // ya-phala where no half form exists
      {"ट्रक", "6«s"},             // the caret rakar under ट
      {"आफ्नो", "cfˆgf]"},
      {"फूल", "km\"n"},
      {"रुपैयाँ", "?k}ofF"},
      {"रूप", "¿k"},
      {"हृदय", "Åbo"},
  });
}

TEST(ToLegacy, JoinersAndNormalisation) {
  ExpectToLegacy({
      {"अद्‌भुत", "cb\\e't"},      // ZWNJ keeps the halant visible
      {"पर्‍यो", "k¥of]"},          // eyelash RA as the dictionaries spell it
      {"पऱ्यो", "k¥of]"},           // and as RRA
      {"\xEF\xBB\xBFक", "s"},       // BOM
      {"ड़", "8Þ"},                  // precomposed U+095C
      {"ड़", "8Þ"},
      {"अर्थात्", "cyf{t\\"},       // a final virama is written visibly
      {"ॐ बॉल ऑफिस सोऽहम्", "ç af‘n cf‘lkm; ;f]˜xd\\"},
  });
}

TEST(ToLegacy, DigitsAndPunctuationGoToTheirKeys) {
  ExpectToLegacy({
      {"२०७९ 2079", "@)&( @)&("},
      {"हो। हो॥", "xf]. xf].."},
      {"3.5? (क) बार-बार!", "#=%< -s_ af/–af/Û"},
      {"\"क\" 'ख'", "æsÆ …vÚ"},
      {"५%; १=१", "%ÜÙ !Ö!"},
  });
}

TEST(ToLegacy, WhatNoGlyphDrawsPassesThroughCounted) {
  ExpectPassedThrough(Direction::kToLegacy, "नेपाल Nepal*\nळ", "g]kfn Nepal*\nळ", {7, 1, 7});
}

TEST(ToLegacyFonts, EachFamilyWritesItsOwnCodes) {
  ExpectToLegacy({
      {"का", "sf", LegacyFont::kKantipur},      // f, not its second ा at F
      {"कँ", "s“", LegacyFont::kKantipur},
      {"द्र", "b|", LegacyFont::kKantipur},      // › draws ऽ there
      {"२०७९", "2079", LegacyFont::kPcsNepali},
      {"ज्ञान", "!fg", LegacyFont::kPcsNepali},
      {"प्र", "k|", LegacyFont::kPcsNepali},
      {"पर्‍यो", "kCof]", LegacyFont::kPcsNepali},
      {"ऋ", "¥", LegacyFont::kPcsNepali},
      {"२०७९", "2079", LegacyFont::kFontasyHimaliTt},
      {"के", "s]", LegacyFont::kSagarmatha},
  });
}

// The toolbar's own legacy text is Windows-1252 bytes, one per code, and
// reaches the converter as their UTF-8.
TEST(LegacyBytes, CodesAsBytesBothWays) {
  EXPECT_EQ(ToUnicode(text::Cp1252ToUtf8("\x89\x66 \xA7")), "झ ट्ट");  // ‰ is code 0x89, not U+2030's bytes
  EXPECT_EQ(ToLegacy("झुल"), text::Cp1252ToUtf8("\xB4'n"));
  EXPECT_EQ(ToLegacy("“नेपाल”"), text::Cp1252ToUtf8("\xE6g]kfn\xC6"));
  Unconverted unconverted;
  // What passes through unchanged is counted.
  EXPECT_EQ(ToLegacy("क中", {}, &unconverted), "s中");
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
