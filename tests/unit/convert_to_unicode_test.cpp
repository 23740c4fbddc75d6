// Legacy text typed the way Preeti typists type it, read back as Unicode.
// Each group is one of the places where converters go wrong.
#include <gtest/gtest.h>

#include <string>

#include "convert/converter.h"
#include "convert_cases.h"

namespace lk::convert {
namespace {

TEST(ToUnicode, PlainSyllablesAndVowelSigns) {
  ExpectToUnicode({
      {"g]kfn", "नेपाल"},
      {"sd{rf/L", "कर्मचारी"},
      {"s'/f ug'{", "कुरा गर्नु"},
      {"a\"9f", "बूढा"},
      {"w[t", "धृत"},
  });
}

TEST(ToUnicode, IKarMovesAcrossTheWholeCluster) {
  ExpectToUnicode({
      {"ls", "कि"},
      {"l:y/", "स्थिर"},             // half form
      {"clu|d", "अग्रिम"},            // rakar
      {"lk|o", "प्रिय"},
      {"/fli6«o", "राष्ट्रिय"},       // half form and the caret rakar
      {"a'lb\\w", "बुद्धि"},          // explicit halant
      {"a'l4", "बुद्धि"},             // ligature key
      {"lqmof", "क्रिया"},            // hook on a ligature
      {"dlGq", "मन्त्रि"},            // three letters
  });
}

TEST(ToUnicodeReph, LandsBeforeTheClustersFirstConsonant) {
  ExpectToUnicode({
      {"ug{", "गर्न"},
      {"ubf{", "गर्दा"},              // after the vowel sign
      {"ug]{", "गर्ने"},
      {"ug{]", "गर्ने"},               // before it
      {"sd+{", "कर्मं"},               // after the anusvara
      {"x]Yof]{", "हेर्थ्यो"},          // over a conjunct
      {"cfly{s", "आर्थिक"},            // after an i-kar cluster
      {"sLl{t", "कीर्ति"},             // between ि and its consonant
      {"cGtIf]{q", "अन्तर्क्षेत्र"},      // over क्ष
  });
}

TEST(ToUnicodeReph, AtTheEndOfASelectionAndOnVowelLetters) {
  ExpectToUnicode({
      {"wd{", "धर्म"},
      {"wd{\r\n", "धर्म\r\n"},
      {"O{Zj/", "ईश्वर"},              // इ with the curl is ई
      // Nothing to sit on: never before a vowel letter.
      {"p{", "उर्"},
      {"{", "र्"},
  });
}

TEST(ToUnicodeHook, JoinsItsLetterWhereverItWasTyped) {
  ExpectToUnicode({
      {"km'n", "फुल"},
      {"k'mn", "फुल"},                 // after the vowel sign
      {"cfk\\mgf]", "आफ्नो"},          // after a halant
      {"cfkm\\gf]", "आफ्नो"},
      {"em/gf", "झरना"},
      {"hfpFm", "जाऊँ"},                 // after the candrabindu
      {"pm", "ऊ"},
      {"qmd", "क्रम"},
      {"Qm", "क्त"},
      {"k|mfG;", "फ्रान्स"},
  });
}

TEST(ToUnicodeHook, WithNothingToJoinIsCountedAndKept) {
  ExpectPassedThrough(Direction::kToUnicode, "sm", "कm", {1, 1, 2});
}

TEST(ToUnicode, RakarAndSignsTypedOutOfOrder) {
  ExpectToUnicode({
      {"6]«s", "ट्रेक"},               // rakar after the vowel sign
      {"k|:'tt", "प्रस्तुत"},             // vowel sign on a half form
      {"hfcf+}", "जाऔं"},               // ं before ै
      {"s]f", "को"},                    // े before ा
      {"sf]]", "को"},                   // doubled
      {"s++", "कं"},
      {"sF+", "कँ"},                    // candrabindu already has the dot
  });
}

TEST(ToUnicode, HalfFormWithAaIsTheFullLetter) {
  ExpectToUnicode({
      {"0f", "ण"},
      {"ljifo", "विषय"},
      {"If]q", "क्षेत्र"},
      {"Zff", "शा"},
      {"08f", "ण्डा"},
  });
}

TEST(ToUnicode, VowelLetterSpellings) {
  ExpectToUnicode({
      {"cf", "आ"},
      {"cf]", "ओ"},
      {"cf}", "औ"},
      {"P]", "ऐ"},
      {"cfF", "आँ"},
      {"cf‘", "ऑ"},
  });
}

TEST(ToUnicode, NuktaEyelashAndTypistTricks) {
  ExpectToUnicode({
      {"k8Þ", "पड़"},
      {"sÞ]", "क़े"},                   // nukta before the vowel sign
      {"gÞ", "ऩ"},                      // composed, as NFC has it
      {"k¥of]", "पर्‍यो"},
  });
  Options rra;
  rra.eyelash = Eyelash::kRra;
  EXPECT_EQ(ToUnicode("k¥of]", rra), "पऱ्यो");
  ExpectToUnicode({
      {"5'6[", "छुट्ट"},                 // ट with ृ draws ट्ट
      {"N˜", "ल"},
  });
}

TEST(ToUnicode, RareSigns) {
  ExpectToUnicode({
      {"ç gdM lzjfo", "ॐ नमः शिवाय"},
      {"˜", "ऽ"},
      {"a‘s", "बॅक"},
      {"af‘n", "बॉल"},
      {"b]j¥o", "देवर्‍य"},
  });
}

TEST(ToUnicode, DigitsAndPunctuation) {
  ExpectToUnicode({
      {"@)&( .. ! =", "२०७९ ॥ १ ."},
      {"s] xf] <", "के हो ?"},
      {"-s_ – ;", "(क) - स"},
      {"æs}Æ", "“कै”"},
      {"ldltM @)^)", "मितिः २०६०"},
      {"M", ":"},                        // nothing to sit on: a colon
      {"xf] .", "हो ।"},
  });
}

TEST(ToUnicode, CodesAsWindowsStoresThem) {
  ExpectToUnicode({
      {"‰", "झ्"},                      // U+2030, code 0x89
      {"\xEF\x80\xA5", "५"},            // U+F025, a symbol font's code 0x25
      {"\xEF\x81\xAB", "प"},            // U+F06B
  });
}

TEST(ToUnicode, WhatTheFontCannotDrawPassesThroughCounted) {
  ExpectPassedThrough(Direction::kToUnicode, "s\nx€ नेपाल", "क\nह€ नेपाल", {6, 2, 2});
}

TEST(ToUnicodeFonts, EachFamilyReadsItsOwnCodes) {
  ExpectToUnicode({
      {"sF", "का", LegacyFont::kKantipur},
      {"s“", "कँ", LegacyFont::kKantipur},
      {"X", "हृ", LegacyFont::kKantipur},
      {"›", "ऽ", LegacyFont::kKantipur},
      {"sŠ", "र्क", LegacyFont::kSagarmatha},   // its second reph
      {"s‡", "के", LegacyFont::kSagarmatha},
      {"Þ", "ह्", LegacyFont::kSagarmatha},
      {"2079", "२०७९", LegacyFont::kPcsNepali},
      {"!fg", "ज्ञान", LegacyFont::kPcsNepali},
      {"k<", "प्र", LegacyFont::kPcsNepali},
      {"kCof]", "पर्‍यो", LegacyFont::kPcsNepali},
      {"¥", "ऋ", LegacyFont::kPcsNepali},
      {"?", "रू", LegacyFont::kPcsNepali},
      {"2079", "२०७९", LegacyFont::kFontasyHimaliTt},
      {"~", "ञ", LegacyFont::kFontasyHimaliTt},
  });
}

}  // namespace
}  // namespace lk::convert
