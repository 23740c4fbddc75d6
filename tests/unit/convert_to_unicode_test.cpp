// Legacy text typed the way Preeti typists type it, read back as Unicode.
// Each group is one of the places where converters go wrong.
#include <gtest/gtest.h>

#include <string>

#include "convert/converter.h"
#include "convert_cases.h"

namespace lk::convert {
namespace {

std::string Uni(std::string_view legacy, LegacyFont font = LegacyFont::kPreeti) {
  return FullyConverted(Direction::kToUnicode, legacy, font);
}

TEST(ToUnicode, PlainSyllablesAndVowelSigns) {
  EXPECT_EQ(Uni("g]kfn"), "नेपाल");
  EXPECT_EQ(Uni("sd{rf/L"), "कर्मचारी");
  EXPECT_EQ(Uni("s'/f ug'{"), "कुरा गर्नु");
  EXPECT_EQ(Uni("a\"9f"), "बूढा");
  EXPECT_EQ(Uni("w[t"), "धृत");
}

TEST(ToUnicode, IKarMovesAcrossTheWholeCluster) {
  EXPECT_EQ(Uni("ls"), "कि");
  EXPECT_EQ(Uni("l:y/"), "स्थिर");             // half form
  EXPECT_EQ(Uni("clu|d"), "अग्रिम");            // rakar
  EXPECT_EQ(Uni("lk|o"), "प्रिय");
  EXPECT_EQ(Uni("/fli6«o"), "राष्ट्रिय");       // half form and the caret rakar
  EXPECT_EQ(Uni("a'lb\\w"), "बुद्धि");          // explicit halant
  EXPECT_EQ(Uni("a'l4"), "बुद्धि");             // ligature key
  EXPECT_EQ(Uni("lqmof"), "क्रिया");            // hook on a ligature
  EXPECT_EQ(Uni("dlGq"), "मन्त्रि");            // three letters
}

TEST(ToUnicodeReph, LandsBeforeTheClustersFirstConsonant) {
  EXPECT_EQ(Uni("ug{"), "गर्न");
  EXPECT_EQ(Uni("ubf{"), "गर्दा");              // after the vowel sign
  EXPECT_EQ(Uni("ug]{"), "गर्ने");
  EXPECT_EQ(Uni("ug{]"), "गर्ने");               // before it
  EXPECT_EQ(Uni("sd+{"), "कर्मं");               // after the anusvara
  EXPECT_EQ(Uni("x]Yof]{"), "हेर्थ्यो");          // over a conjunct
  EXPECT_EQ(Uni("cfly{s"), "आर्थिक");            // after an i-kar cluster
  EXPECT_EQ(Uni("sLl{t"), "कीर्ति");             // between ि and its consonant
  EXPECT_EQ(Uni("cGtIf]{q"), "अन्तर्क्षेत्र");      // over क्ष
}

TEST(ToUnicodeReph, AtTheEndOfASelectionAndOnVowelLetters) {
  EXPECT_EQ(Uni("wd{"), "धर्म");
  EXPECT_EQ(Uni("wd{\r\n"), "धर्म\r\n");
  EXPECT_EQ(Uni("O{Zj/"), "ईश्वर");              // इ with the curl is ई
  // Nothing to sit on: never before a vowel letter.
  EXPECT_EQ(Uni("p{"), "उर्");
  EXPECT_EQ(Uni("{"), "र्");
}

TEST(ToUnicodeHook, JoinsItsLetterWhereverItWasTyped) {
  EXPECT_EQ(Uni("km'n"), "फुल");
  EXPECT_EQ(Uni("k'mn"), "फुल");                 // after the vowel sign
  EXPECT_EQ(Uni("cfk\\mgf]"), "आफ्नो");          // after a halant
  EXPECT_EQ(Uni("cfkm\\gf]"), "आफ्नो");
  EXPECT_EQ(Uni("em/gf"), "झरना");
  EXPECT_EQ(Uni("hfpFm"), "जाऊँ");                 // after the candrabindu
  EXPECT_EQ(Uni("pm"), "ऊ");
  EXPECT_EQ(Uni("qmd"), "क्रम");
  EXPECT_EQ(Uni("Qm"), "क्त");
  EXPECT_EQ(Uni("k|mfG;"), "फ्रान्स");
}

TEST(ToUnicodeHook, WithNothingToJoinIsCountedAndKept) {
  Unconverted unconverted;
  EXPECT_EQ(ToUnicode("sm", {}, &unconverted), "कm");
  EXPECT_EQ(unconverted.count, 1u);
  EXPECT_EQ(unconverted.column, 2u);
}

TEST(ToUnicode, RakarAndSignsTypedOutOfOrder) {
  EXPECT_EQ(Uni("6]«s"), "ट्रेक");               // rakar after the vowel sign
  EXPECT_EQ(Uni("k|:'tt"), "प्रस्तुत");             // vowel sign on a half form
  EXPECT_EQ(Uni("hfcf+}"), "जाऔं");               // ं before ै
  EXPECT_EQ(Uni("s]f"), "को");                    // े before ा
  EXPECT_EQ(Uni("sf]]"), "को");                   // doubled
  EXPECT_EQ(Uni("s++"), "कं");
  EXPECT_EQ(Uni("sF+"), "कँ");                    // candrabindu already has the dot
}

TEST(ToUnicode, HalfFormWithAaIsTheFullLetter) {
  EXPECT_EQ(Uni("0f"), "ण");
  EXPECT_EQ(Uni("ljifo"), "विषय");
  EXPECT_EQ(Uni("If]q"), "क्षेत्र");
  EXPECT_EQ(Uni("Zff"), "शा");
  EXPECT_EQ(Uni("08f"), "ण्डा");
}

TEST(ToUnicode, VowelLetterSpellings) {
  EXPECT_EQ(Uni("cf"), "आ");
  EXPECT_EQ(Uni("cf]"), "ओ");
  EXPECT_EQ(Uni("cf}"), "औ");
  EXPECT_EQ(Uni("P]"), "ऐ");
  EXPECT_EQ(Uni("cfF"), "आँ");
  EXPECT_EQ(Uni("cf‘"), "ऑ");
}

TEST(ToUnicode, NuktaEyelashAndTypistTricks) {
  EXPECT_EQ(Uni("k8Þ"), "पड़");
  EXPECT_EQ(Uni("sÞ]"), "क़े");                   // nukta before the vowel sign
  EXPECT_EQ(Uni("gÞ"), "ऩ");                      // composed, as NFC has it
  EXPECT_EQ(Uni("k¥of]"), "पर्‍यो");
  Options rra;
  rra.eyelash = Eyelash::kRra;
  EXPECT_EQ(ToUnicode("k¥of]", rra), "पऱ्यो");
  EXPECT_EQ(Uni("5'6["), "छुट्ट");                 // ट with ृ draws ट्ट
  EXPECT_EQ(Uni("N˜"), "ल");
}

TEST(ToUnicode, RareSigns) {
  EXPECT_EQ(Uni("ç gdM lzjfo"), "ॐ नमः शिवाय");
  EXPECT_EQ(Uni("˜"), "ऽ");
  EXPECT_EQ(Uni("a‘s"), "बॅक");
  EXPECT_EQ(Uni("af‘n"), "बॉल");
  EXPECT_EQ(Uni("b]j¥o"), "देवर्‍य");
}

TEST(ToUnicode, DigitsAndPunctuation) {
  EXPECT_EQ(Uni("@)&( .. ! ="), "२०७९ ॥ १ .");
  EXPECT_EQ(Uni("s] xf] <"), "के हो ?");
  EXPECT_EQ(Uni("-s_ – ;"), "(क) - स");
  EXPECT_EQ(Uni("æs}Æ"), "“कै”");
  EXPECT_EQ(Uni("ldltM @)^)"), "मितिः २०६०");
  EXPECT_EQ(Uni("M"), ":");                        // nothing to sit on: a colon
  EXPECT_EQ(Uni("xf] ."), "हो ।");
}

TEST(ToUnicode, CodesAsWindowsStoresThem) {
  EXPECT_EQ(Uni("‰"), "झ्");                      // U+2030, code 0x89
  EXPECT_EQ(Uni("\xEF\x80\xA5"), "५");            // U+F025, a symbol font's code 0x25
  EXPECT_EQ(Uni("\xEF\x81\xAB"), "प");            // U+F06B
}

TEST(ToUnicode, WhatTheFontCannotDrawPassesThroughCounted) {
  Unconverted unconverted;
  EXPECT_EQ(ToUnicode("s\nx€ नेपाल", {}, &unconverted), "क\nह€ नेपाल");
  EXPECT_EQ(unconverted.count, 6u);
  EXPECT_EQ(unconverted.line, 2u);
  EXPECT_EQ(unconverted.column, 2u);
}

TEST(ToUnicodeFonts, EachFamilyReadsItsOwnCodes) {
  EXPECT_EQ(Uni("sF", LegacyFont::kKantipur), "का");
  EXPECT_EQ(Uni("s“", LegacyFont::kKantipur), "कँ");
  EXPECT_EQ(Uni("X", LegacyFont::kKantipur), "हृ");
  EXPECT_EQ(Uni("›", LegacyFont::kKantipur), "ऽ");
  EXPECT_EQ(Uni("sŠ", LegacyFont::kSagarmatha), "र्क");   // its second reph
  EXPECT_EQ(Uni("s‡", LegacyFont::kSagarmatha), "के");
  EXPECT_EQ(Uni("Þ", LegacyFont::kSagarmatha), "ह्");
  EXPECT_EQ(Uni("2079", LegacyFont::kPcsNepali), "२०७९");
  EXPECT_EQ(Uni("!fg", LegacyFont::kPcsNepali), "ज्ञान");
  EXPECT_EQ(Uni("k<", LegacyFont::kPcsNepali), "प्र");
  EXPECT_EQ(Uni("kCof]", LegacyFont::kPcsNepali), "पर्‍यो");
  EXPECT_EQ(Uni("¥", LegacyFont::kPcsNepali), "ऋ");
  EXPECT_EQ(Uni("?", LegacyFont::kPcsNepali), "रू");
  EXPECT_EQ(Uni("2079", LegacyFont::kFontasyHimaliTt), "२०७९");
  EXPECT_EQ(Uni("~", LegacyFont::kFontasyHimaliTt), "ञ");
}

}  // namespace
}  // namespace lk::convert
