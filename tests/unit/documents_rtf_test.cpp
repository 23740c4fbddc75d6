// RTF as Word, Wordpad and hand-made selections carry it: legacy runs
// converted in place, everything else back as it came.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "convert/converter.h"
#include "documents/document_file.h"
#include "documents/rtf.h"
#include "text/utf8.h"

namespace lk::documents {
namespace {

using convert::Direction;
using convert::LegacyFont;

ConvertSettings ToUnicode() { return {}; }

ConvertSettings ToLegacy(LegacyFont font = LegacyFont::kPreeti) {
  ConvertSettings settings;
  settings.direction = Direction::kToLegacy;
  settings.options.font = font;
  return settings;
}

// Unicode text as a reader of our output finds it: \uN with '?' after each.
std::string Escaped(std::string_view utf8) {
  std::string out;
  for (const char32_t c : text::Utf8ToUtf32(utf8)) {
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    out += "\\u" + std::to_string(static_cast<std::int16_t>(c)) + "?";
  }
  return out;
}

// A run converted to Unicode, in font n, with the complex-script
// properties given.
std::string UnicodeRun(int n, std::string_view complex, std::string_view utf8) {
  const std::string f = std::to_string(n);
  return "{\\rtlch\\fcs1 \\af" + f + std::string(complex) + " \\ltrch\\fcs0 \\loch\\af" + f + "\\hich\\af" + f +
         "\\dbch\\af" + f + "\\loch\\f" + f + "\\uc1 " + Escaped(utf8) + "}";
}

std::string LegacyRun(int n, std::string_view codes) {
  const std::string f = std::to_string(n);
  return "{\\ltrch\\fcs0 \\loch\\af" + f + "\\hich\\af" + f + "\\dbch\\af" + f + "\\loch\\f" + f + " " +
         std::string(codes) + "}";
}

constexpr std::string_view kPreetiArial =
    R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fnil Preeti;}{\f1\fswiss Arial;}})";
constexpr std::string_view kPreetiArialNirmala =
    R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fnil Preeti;}{\f1\fswiss Arial;}{\f2\fnil\fcharset0 Nirmala UI;}})";

TEST(Rtf, BoldNepaliGetsTheUnicodeFontAndEnglishStaysAsItWas) {
  const std::string input = std::string(kPreetiArial) + R"(\f0\b g]kfn\b0\f1  Hello \f0 ;/sf/\par})";
  const RtfResult result = ConvertRtf(input, ToUnicode());
  EXPECT_EQ(result.rtf, std::string(kPreetiArialNirmala) + R"(\f0\b )" + UnicodeRun(2, "\\ab", "नेपाल") +
                            R"(\b0\f1  Hello \f0 )" + UnicodeRun(2, "", "सरकार") + R"(\par})");
  EXPECT_EQ(result.plainText, "नेपाल Hello सरकार\r\n");
  EXPECT_TRUE(result.sawLegacyRuns);
  EXPECT_EQ(result.tally.convertedRuns, 2u);
  EXPECT_EQ(result.tally.unconverted, 0u);
}

TEST(Rtf, SizeAndItalicAreMirroredAndAnExistingUnicodeFontIsReused) {
  const std::string input = std::string(kPreetiArialNirmala) + R"(\f0\i\fs28 g]kfn\plain\f0 s\par})";
  const RtfResult result = ConvertRtf(input, ToUnicode());
  EXPECT_EQ(result.rtf, std::string(kPreetiArialNirmala) + R"(\f0\i\fs28 )" + UnicodeRun(2, "\\ai\\afs28", "नेपाल") +
                            R"(\plain\f0 )" + UnicodeRun(2, "", "क") + R"(\par})");
}

TEST(Rtf, SyllablesSplitBetweenGroupsAndRunsGoToTheRunOfTheirBaseLetter) {
  struct Case {
    std::string body;
    std::string expected;
  };
  const std::string head = R"({\rtf1{\fonttbl{\f0 Preeti;}{\f1 Arial;}})";
  const std::string headOut = R"({\rtf1{\fonttbl{\f0 Preeti;}{\f1 Arial;}{\f2\fnil\fcharset0 Nirmala UI;}})";
  const Case cases[] = {
      // i-kar in one group, its consonant in the next, bold
      {R"(\f0{l}{\b stfa}})", R"(\f0{{}}{\b )" + UnicodeRun(2, "\\ab", "किताब") + "}}"},
      // reph typed after its cluster, behind a change of colour
      {R"(\f0 sd\cf1 \{})", R"(\f0 )" + UnicodeRun(2, "", "कर्म") + R"(\cf1 })"},
      // a bookmark between them is not seen: the runs still read as one
      {R"(\f0 l{\*\bkmkstart a}s})", R"(\f0 {\*\bkmkstart a})" + UnicodeRun(2, "", "कि") + "}"},
      // a picture between them is: each side converts alone
      {R"(\f0 l{\pict\pngblip 00}s})",
       R"(\f0 )" + UnicodeRun(2, "", "ि") + R"({\pict\pngblip 00})" + UnicodeRun(2, "", "क") + "}"},
      // English between two Preeti runs parts them
      {R"(\f0 l\f1 x\f0 s})", R"(\f0 )" + UnicodeRun(2, "", "ि") + R"(\f1 x\f0 )" + UnicodeRun(2, "", "क") + "}"},
  };
  for (const Case& c : cases) EXPECT_EQ(ConvertRtf(head + c.body, ToUnicode()).rtf, headOut + c.expected) << c.body;
}

TEST(Rtf, LegacyCodesArriveAsHexAsUnicodeAndAsBytes) {
  struct Case {
    std::string body;
    std::string expected;  // the plain text
  };
  const Case cases[] = {
      {R"(6\'abs k\'a5of] \'98)", "ट्रक पर्‍यो ऽ"},
      // Word writes what its code page lacks as \uN; \uc0 has no fallback
      {R"(6\u171\'3fs \uc0 6\u171s)", "ट्रक ट्रक"},
      // \uc2: two fallback characters, a \'hh one of them
      {R"(\uc2 6\u171\'3f?s)", "ट्रक"},
      // a byte above 0x7F as it stands, read in Windows-1252
      {"6\xABs", "ट्रक"},
      // AutoCorrect's quote as Word's control word: u-kar in Preeti
      {R"(s\rquote )", "कु"},
      // the symbol-font spelling of a code: U+F0AB
      {R"(6\u-3925?s)", "ट्रक"},
  };
  const std::string head = R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 Preeti;}}\f0 )";
  for (const Case& c : cases) EXPECT_EQ(ConvertRtf(head + c.body + "}", ToUnicode()).plainText, c.expected) << c.body;
}

TEST(Rtf, BytesAboveAsciiReadInTheDocumentsOrTheFontsCodePage) {
  struct Case {
    std::string codePage;  // the header's \ansicpgN, if any
    std::string charset;   // the Arial entry's \fcharsetN, if any
    std::string body;
    std::string expected;  // the plain text
  };
  const Case cases[] = {
      {"\\ansicpg1252", "", R"(caf\'e9)", "café"},
      {"\\ansicpg1251", "", R"(\'cf\'f0\'e8)", "При"},
      {"\\ansicpg1250", "\\fcharset0", R"(\'e8)", "č"},
      {"\\ansicpg1253", "", R"(\'e1)", "α"},
      {"\\ansicpg1254", "", R"(\'f0)", "ğ"},
      {"\\ansicpg1255", "", R"(\'e0)", "א"},
      {"\\ansicpg1256", "", R"(\'c7)", "ا"},
      {"\\ansicpg1257", "", R"(\'e0)", "ą"},
      {"\\ansicpg1258", "", R"(\'d2)", "\u0309"},
      {"\\ansicpg874", "", R"(\'a1)", "ก"},
      {"\\ansicpg437", "", R"(\'82)", "é"},
      {"\\ansicpg850", "", R"(\'d0)", "ð"},
      // bytes as they stand read alike
      {"\\ansicpg1251", "", "\xcf", "П"},
      // a code the page leaves undefined
      {"\\ansicpg1251", "", R"(\'98)", "\u0098"},
      {"\\ansicpg1253", "", R"(\'aa)", "\uFFFD"},
      // the font's charset names the page over the document's
      {"\\ansicpg1252", "\\fcharset204", R"(\'cf)", "П"},
      {"\\ansicpg1251", "\\fcharset238", R"(\'e8)", "č"},
      {"", "\\fcharset161", R"(\'e1)", "α"},
      // the default charset leaves it to the document
      {"\\ansicpg1251", "\\fcharset1", R"(\'cf)", "П"},
      // a page we hold no table for reads as Windows-1252, as before
      {"\\ansicpg10000", "", R"(\'e9)", "é"},
      // two-byte pages: a lead byte and its trail, hex or as it stands,
      // are one character we cannot name, never two
      {"\\ansicpg932", "", R"(a\'82\'a0b)", "a\uFFFDb"},
      {"\\ansicpg936", "", R"(\'b0@x)", "\uFFFDx"},
      {"\\ansicpg1252", "\\fcharset128", R"(\'88\'9fy)", "\uFFFDy"},
      {"\\ansicpg949", "", R"(\'b0)", "\uFFFD"},  // a lead byte the run ends after
      {"\\ansicpg932", "", R"(\'a6)", "\uFF66"},  // half-width katakana is one byte
      {"\\ansicpg936", "", R"(\'ff)", "\uFFFD"},
  };
  for (const Case& c : cases) {
    const std::string rtf = "{\\rtf1\\ansi" + c.codePage + "{\\fonttbl{\\f0\\fnil\\fcharset0 Preeti;}{\\f1\\fswiss" +
                            c.charset + " Arial;}}\\f1 " + c.body + "}";
    const RtfResult result = ConvertRtf(rtf, ToLegacy());
    EXPECT_EQ(result.plainText, c.expected) << rtf;
    EXPECT_EQ(result.rtf, rtf) << rtf;
  }
}

TEST(Rtf, ALegacyRunKeepsItsCodesInACyrillicDocumentAndTheOtherRunsTheirBytes) {
  const std::string head =
      R"({\rtf1\ansi\ansicpg1251\deff1{\fonttbl{\f0\fnil\fcharset0 Preeti;}{\f1\fswiss\fcharset204 Arial;})";
  const std::string cyrillic = R"(\f1 \'cf\'f0\'e8\'e2\'e5\'f2 )";
  // Preeti's \'ab is its own glyph code, not the Cyrillic letter at 0xAB.
  const std::string input = head + R"(}\f0 6\'abs )" + cyrillic + R"(\par})";
  const RtfResult unicode = ConvertRtf(input, ToUnicode());
  EXPECT_EQ(unicode.plainText, "ट्रक Привет \r\n");
  EXPECT_EQ(unicode.rtf, head + R"({\f2\fnil\fcharset0 Nirmala UI;}}\f0 )" + UnicodeRun(2, "", "ट्रक ") + cyrillic +
                             R"(\par})");

  // Back to legacy: the converted run is Preeti again, the Cyrillic run
  // the same bytes as in the original.
  const RtfResult legacy = ConvertRtf(unicode.rtf, ToLegacy());
  EXPECT_EQ(legacy.plainText, "6«s Привет \r\n");
  EXPECT_NE(legacy.rtf.find(R"( 6\'abs} })" + cyrillic + R"(\par})"), std::string::npos) << legacy.rtf;

  // A font the document names without a table entry keeps its number:
  // the Preeti entry added for the converted run takes another, or the
  // Cyrillic run would read as Preeti codes the next time.
  const std::string untabled =
      R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f1\fswiss\fcharset204 Arial;}}\f1 )" + Escaped("क") + R"(\f3 \'cf})";
  const RtfResult added = ConvertRtf(untabled, ToLegacy());
  EXPECT_NE(added.rtf.find(R"({\f4\fnil\fcharset0 Preeti;})"), std::string::npos) << added.rtf;
  EXPECT_EQ(ConvertRtf(added.rtf, ToLegacy()).plainText, added.plainText);

  // A font's name is in its charset's code page too: the Unicode font
  // named in Cyrillic is found, not added again.
  ConvertSettings cyrillicFont = ToUnicode();
  cyrillicFont.unicodeFont = "Нирмала";
  const std::string named = R"({\rtf1\ansi{\fonttbl{\f0 Preeti;}{\f1\fcharset204 \'cd\'e8\'f0\'ec\'e0\'eb\'e0;}}\f0 s})";
  EXPECT_EQ(ConvertRtf(named, cyrillicFont).rtf,
            R"({\rtf1\ansi{\fonttbl{\f0 Preeti;}{\f1\fcharset204 \'cd\'e8\'f0\'ec\'e0\'eb\'e0;}}\f0 )" +
                UnicodeRun(1, "", "क") + "}");

  // Cyrillic sharing a run with Devanagari is written anew beside it, and
  // must be the Cyrillic the document showed.
  const RtfResult mixed = ConvertRtf(head + R"(}\f1 \'cf\'f0\'e8 )" + Escaped("क") + "}", ToLegacy());
  EXPECT_EQ(mixed.plainText, "При s");
  EXPECT_NE(mixed.rtf.find("{\\uc1 " + Escaped("При ") + "}"), std::string::npos) << mixed.rtf;
}

TEST(Rtf, FontsAreFoundHoweverTheTableSpellsThem) {
  struct Case {
    std::string rtf;
    std::string expected;  // the plain text
  };
  const Case cases[] = {
      // entries without groups, the family in capitals with a blank
      {R"({\rtf1{\fonttbl\f0\fswiss Arial;\f1\fnil PREETI ;}\f1 g]kfn\f0  g]kfn})", "नेपाल g]kfn"},
      // Word's entries: alternative names and panose numbers inside
      {R"({\rtf1{\fonttbl{\f0\fbidi \fnil\fcharset0\fprq2{\*\panose 02000400000000000000}Preeti{\*\falt Arial};}}\f0 g]kfn})",
       "नेपाल"},
      // no \f at all: the default font
      {R"({\rtf1\deff3{\fonttbl{\f3 Preeti;}{\f4 Arial;}}g]kfn\f4  x\plain  g]kfn})", "नेपाल x नेपाल"},
      // a name left without its ';' takes nothing from a second table
      {R"({\rtf1{\fonttbl\f0 Preeti}{\fonttbl x}\f0 g]kfn})", "नेपाल"},
      // a table behind the text it describes
      {R"({\rtf1\f0 g]kfn{\fonttbl{\f0 Preeti;}}})", "नेपाल"},
      // ... and a second one behind it, after a first
      {R"({\rtf1{\fonttbl{\f1 Arial;}}\f0 g]kfn\f1  x{\fonttbl{\f0 Preeti;}}})", "नेपाल x"},
      // a number the table does not hold is no legacy font
      {R"({\rtf1{\fonttbl{\f0 Preeti;}}\f9 g]kfn})", "g]kfn"},
      // another family's code table: Kantipur's F is aa
      {R"({\rtf1{\fonttbl{\f0 Kantipur;}}\f0 sF})", "का"},
      // a symbol-charset legacy font, its codes as U+F0xx
      {R"({\rtf1{\fonttbl{\f0\fcharset2 PCS NEPALI;}}\f0\u-3989?\u-4026?})",
       convert::ToUnicode("kF", {LegacyFont::kPcsNepali})},
  };
  for (const Case& c : cases) EXPECT_EQ(ConvertRtf(c.rtf, ToUnicode()).plainText, c.expected) << c.rtf;
}

TEST(Rtf, SymbolFontsAndOtherTextKeepTheirCharacters) {
  // Wingdings is no legacy family: its codes are U+F0xx on the clipboard,
  // its bytes come back untouched.
  const std::string input =
      R"({\rtf1{\fonttbl{\f0\fnil\fcharset2 Wingdings;}{\f1 Arial;}}\f0 J\'4a\u-4022?)"
      R"(\f1  caf\'e9\tab a\~b\line c\emdash\u55357?\u56832?d\par})";
  const RtfResult result = ConvertRtf(input, ToUnicode());
  EXPECT_EQ(result.rtf, input);
  EXPECT_EQ(result.plainText, "\uF04A\uF04A\uF04A café\ta\u00A0b\r\nc\u2014\U0001F600d\r\n");
  EXPECT_FALSE(result.sawLegacyRuns);
  EXPECT_EQ(result.tally.convertedRuns, 0u);
}

TEST(Rtf, DestinationsPicturesAndFieldCodesComeBackByteForByte) {
  const std::string kept[] = {
      R"({\*\generator Riched20 10.0.19041;})",
      R"({\colortbl ;\red255\green0\blue0;})",
      R"({\stylesheet{\s0\f0 Normal g]kfn;}})",
      R"({\info{\title g]kfn}{\author s}})",
      R"({\*\shppict{\pict{\*\picprop}\pngblip 89504e470d0a1a0a{\g]}}})",
      "{\\pict\\wmetafile8\\bin6 }{\\\\x}}",
      R"({\object\objemb{\*\objdata 0105}{\result g]kfn}})",
      R"({\*\fldinst HYPERLINK "g]kfn"})",
      R"({\*\themedata 504b0304})",
  };
  std::string body;
  for (const std::string& part : kept) body += part + R"(\f0 s)";
  const std::string input = R"({\rtf1{\fonttbl{\f0 Preeti;}}\f0 {\field)" + body + R"({\fldrslt g]kfn}}\par})";
  const RtfResult result = ConvertRtf(input, ToUnicode());
  std::size_t at = 0;
  for (const std::string& part : kept) {
    at = result.rtf.find(part, at);
    ASSERT_NE(at, std::string::npos) << part;
  }
  EXPECT_EQ(result.plainText, "ककककककककक" "नेपाल\r\n");
  EXPECT_EQ(result.tally.convertedRuns, 10u);
}

TEST(Rtf, FootnotesAndHeadersConvertAsTheirOwnParagraphs) {
  // The i-kar before the footnote and the consonant after it are not one
  // syllable: the footnote's text stands between them.
  const std::string input =
      R"({\rtf1{\fonttbl{\f0 Preeti;}}\f0 l{\super\chftn}{\footnote\pard\plain\f0 g]kfn\par}s{\header\f0 ;/sf/\par}})";
  EXPECT_EQ(ConvertRtf(input, ToUnicode()).plainText, "िनेपाल\r\nकसरकार\r\n");
}

TEST(Rtf, ToLegacyOnlyTheDevanagariTakesTheLegacyFamily) {
  const std::string input = R"({\rtf1\ansi{\fonttbl{\f0\fswiss Arial;}}\f0\b Dear )" + Escaped("नेपाल") +
                            R"( \'e9t\'e9, )" + Escaped("ट्रक") + R"(\par})";
  const RtfResult result = ConvertRtf(input, ToLegacy());
  EXPECT_EQ(result.rtf, R"({\rtf1\ansi{\fonttbl{\f0\fswiss Arial;}{\f1\fnil\fcharset0 Preeti;}}\f0\b Dear )" +
                            LegacyRun(1, "g]kfn") + R"({\uc1  \u233?t\u233?, })" + LegacyRun(1, "6\\'abs") +
                            R"(\par})");
  EXPECT_EQ(result.plainText, "Dear g]kfn été, 6«s\r\n");
  EXPECT_TRUE(result.sawDevanagari);
  EXPECT_FALSE(result.sawLegacyRuns);
}

TEST(Rtf, ToLegacyASymbolFamilyTakesTheSymbolCharsetAndAFontTableIsMadeWhereNoneWas) {
  const LegacyFont pcsNepali = LegacyFont::kPcsNepali;
  const RtfResult pcs = ConvertRtf(R"({\rtf1\ansi\deff0 )" + Escaped("का") + "}", ToLegacy(pcsNepali));
  EXPECT_EQ(pcs.rtf, R"({\rtf1\ansi\deff0 {\fonttbl{\f1\fnil\fcharset2 PCS NEPALI;}})" +
                         LegacyRun(1, convert::ToLegacy("का", {pcsNepali})) + "}");
  // What has no legacy code stays as Unicode and is counted; the family's
  // font the document already has is used.
  const RtfResult left =
      ConvertRtf(R"({\rtf1{\fonttbl{\f0 Arial;}{\f5 Preeti;}}\f0 )" + Escaped("कॻ") + "}", ToLegacy());
  EXPECT_EQ(left.tally.unconverted, 1u);
  EXPECT_NE(left.rtf.find(R"(\loch\f5\uc1 s\u2427?})"), std::string::npos) << left.rtf;
  EXPECT_EQ(left.rtf.find("fcharset"), std::string::npos) << left.rtf;
  // A conjunct split between two runs goes to the first; the second keeps
  // only its English.
  const RtfResult split = ConvertRtf(R"({\rtf1{\fonttbl{\f0 Arial;}{\f5 Preeti;}}\f0 )" + Escaped("ट्") + "\\cf1 " +
                                         Escaped("ट") + "x}",
                                     ToLegacy());
  EXPECT_EQ(split.rtf, R"({\rtf1{\fonttbl{\f0 Arial;}{\f5 Preeti;}}\f0 )" + LegacyRun(5, "\\'a7") + "\\cf1 x}");
  EXPECT_EQ(split.plainText, "§x");
  // English written behind a control word keeps the word's name apart.
  const RtfResult behind = ConvertRtf(R"({\rtf1{\fonttbl{\f0 Arial;}}\f0\u75?)" + Escaped("द") + "}", ToLegacy());
  EXPECT_EQ(behind.rtf, R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\fnil\fcharset0 Preeti;}}\f0 K)" + LegacyRun(1, "b") + "}");
  // ... and a font table made there goes behind the blank
  EXPECT_EQ(ConvertRtf("{\\rtf1\\uc0\\u75\\u2342}", ToLegacy()).rtf,
            "{\\rtf1\\uc0 {\\fonttbl{\\f1\\fnil\\fcharset0 Preeti;}}K" + LegacyRun(1, "b") + "}");
}

TEST(Rtf, ConvertingAConvertedDocumentChangesNothing) {
  const std::string inputs[] = {
      std::string(kPreetiArial) + R"(\f0\b g]kfn\b0\f1  Hello \f0 ;/sf/\par})",
      R"({\rtf1{\fonttbl{\f0 Preeti;}}\f0{l}{\b stfa}\tab 6\'abs{\footnote s}})",
      R"({\rtf1{\fonttbl{\f0 Arial;}}\f0 Dear )" + Escaped("नेपाल, ट्रक") + R"( Hello\par})",
      // a reph that goes to the run before leaves its group, whose \* it
      // does not start, with an empty one
      R"({\rtf1{\fonttbl{\f0 Preeti;}{\f1 Arial;}}\f0 s{\{\*\x\f1 Hi}})",
      // the Unicode font entered as a symbol font is not used
      R"({\rtf1{\fonttbl{\f0 Preeti;}{\f1\fcharset2 Nirmala UI;}}\f0 s-})",
      // English behind a \' without its digits does not become them
      "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\'e\r\n9 " + Escaped("क") + "}",
      // a symbol font's run holding ASCII given as \uN, beside Devanagari:
      // written as it stands, the # would read as a symbol code
      R"({\rtf1{\fonttbl{\f0\fcharset2 Wingdings;}}\f0\u35?)" + Escaped("क") + "}",
      // text behind the old spelling of \par, a backslash ending a line
      "{\\rtf1{\\fonttbl{\\f0 Preeti;}}\\f0 s\\\n;}",
  };
  for (const ConvertSettings& settings : {ToUnicode(), ToLegacy()}) {
    for (const std::string& input : inputs) {
      const RtfResult once = ConvertRtf(input, settings);
      const RtfResult twice = ConvertRtf(once.rtf, settings);
      EXPECT_EQ(twice.rtf, once.rtf) << input;
      EXPECT_EQ(twice.plainText, once.plainText) << input;
      EXPECT_EQ(twice.tally.convertedRuns, 0u) << input;
    }
  }
}

// "Rich Text Format" as Wine's RichEdit (Wordpad's editing control) puts
// it on the clipboard for WM_COPY: a bold Preeti word, an English word in
// Arial and a Preeti word, captured under Wine 8; then the same in Unicode.
constexpr std::string_view kWordpadLegacy =
    "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0\\deflang1033\\deflangfe1033{\\fonttbl{\\f0\\fcharset0 Preeti;}"
    "{\\f1\\fcharset0 Arial;}{\\f2\\fcharset0 System;}}\r\n{\\colortbl;}\r\n{\\*\\generator Wine Riched20 2.0;}\r\n"
    "\\pard\\sl-240\\slmult1 \\b\\lang1033\\fs18\\f0 g]kfn\\b0\\f1  Hello \\f0 ;/sf/\\b\\f2 \\par\r\n}";
constexpr std::string_view kWordpadUnicode =
    "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0\\deflang1033\\deflangfe1033{\\fonttbl{\\f0\\fcharset0 Nirmala UI;}"
    "{\\f1\\fcharset0 Arial;}{\\f2\\fcharset0 System;}}\r\n{\\colortbl;}\r\n{\\*\\generator Wine Riched20 2.0;}\r\n"
    "\\pard\\sl-240\\slmult1 \\b\\lang1033\\fs18\\f0 \\u2344?\\u2375?\\u2346?\\u2366?\\u2354?\\b0\\f1  Hello \\f0 "
    "\\u2360?\\u2352?\\u2325?\\u2366?\\u2352?\\b\\f2 \\par\r\n}";

std::string Replaced(std::string_view text, const std::vector<std::pair<std::string, std::string>>& replacements) {
  std::string out(text);
  for (const auto& [from, to] : replacements) {
    const std::size_t at = out.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) out.replace(at, from.size(), to);
  }
  return out;
}

TEST(Rtf, WordpadsClipboardConvertsBothWays) {
  const RtfResult unicode = ConvertRtf(kWordpadLegacy, ToUnicode());
  EXPECT_EQ(unicode.rtf, Replaced(kWordpadLegacy, {{"System;}}", "System;}{\\f3\\fnil\\fcharset0 Nirmala UI;}}"},
                                                   {"g]kfn", UnicodeRun(3, "\\ab\\afs18", "नेपाल")},
                                                   {";/sf/", UnicodeRun(3, "\\afs18", "सरकार")}}));
  EXPECT_EQ(unicode.plainText, "नेपाल Hello सरकार\r\n");

  const RtfResult legacy = ConvertRtf(kWordpadUnicode, ToLegacy());
  EXPECT_EQ(legacy.rtf, Replaced(kWordpadUnicode, {{"System;}}", "System;}{\\f3\\fnil\\fcharset0 Preeti;}}"},
                                                   {Escaped("नेपाल"), LegacyRun(3, "g]kfn")},
                                                   {Escaped("सरकार"), LegacyRun(3, ";/sf/")}}));
  EXPECT_EQ(legacy.plainText, "g]kfn Hello ;/sf/\r\n");
  EXPECT_TRUE(legacy.sawDevanagari);

  // And back: the converted runs are found again.
  EXPECT_EQ(ConvertRtf(unicode.rtf, ToLegacy()).plainText, "g]kfn Hello ;/sf/\r\n");
}

TEST(Rtf, ALongParagraphIsConvertedInPartsCutOnlyAfterABlank) {
  // Each word's i-kar sits in a run of its own: a cut between the two runs
  // would leave a lone i-kar.
  std::string input = R"({\rtf1{\fonttbl{\f0 Preeti;}}\f0 )";
  std::string expected;
  for (int i = 0; i < 100; ++i) {
    input += "{l}{stfa }";
    expected += "किताब ";
  }
  input += "}";
  RtfLimits limits;
  limits.paragraphPart = 16;
  const RtfResult result = ConvertRtf(input, ToUnicode(), limits);
  EXPECT_EQ(result.plainText, expected);
  EXPECT_EQ(result.rtf, ConvertRtf(input, ToUnicode()).rtf);
}

TEST(Rtf, LimitsAreRefusedWithAMessage) {
  RtfLimits limits;
  limits.maxDepth = 8;
  const std::string deep = "{\\rtf1" + std::string(8, '{') + std::string(9, '}');
  EXPECT_THROW(ConvertRtf(deep, ToUnicode(), limits), DocumentError);
  EXPECT_NO_THROW(ConvertRtf("{\\rtf1" + std::string(7, '{') + std::string(8, '}'), ToUnicode(), limits));
  // the default limit against a pathological nesting
  EXPECT_THROW(ConvertRtf("{\\rtf1" + std::string(100000, '{'), ToUnicode()), DocumentError);

  limits = {};
  limits.maxSize = 64;
  EXPECT_THROW(ConvertRtf("{\\rtf1 " + std::string(64, 'x') + "}", ToUnicode(), limits), DocumentError);

  limits = {};
  limits.maxOutputSize = 200;
  const std::string legacy = R"({\rtf1{\fonttbl{\f0 Preeti;}}\f0 )" + std::string(60, 's') + "}";
  EXPECT_THROW(ConvertRtf(legacy, ToUnicode(), limits), DocumentError);

  for (const std::string notRtf : {"", "hello", "{\\rtx1}", "\\rtf1"})
    EXPECT_THROW(ConvertRtf(notRtf, ToUnicode()), DocumentError) << notRtf;
}

TEST(Rtf, MalformedInputIsReadAsFarAsItGoes) {
  struct Case {
    std::string rtf;
    std::string legacy;  // the text the converter is to find
  };
  const std::string head = R"({\rtf1{\fonttbl{\f0 Preeti;}}\f0 )";
  const Case cases[] = {
      {head + "g]kfn", "g]kfn"},                     // the document never closes
      {head + "{{s}", "s"},                          // nor its groups
      {head + "s}}}g]kfn", "s"},                     // what follows the document is left as it is
      {head + "s\\u", "s"},                          // a \u cut short
      {head + "s\\u-", "s-"},
      {head + "s\\u2325", "sक"},                     // the fallback never comes
      {head + "s\\u99999999999?", "s\xEF\xBF\xBF"},  // saturated, then taken as 16 bits
      {head + "s\\u-10179?", "s\xEF\xBF\xBD"},       // a lone surrogate
      {head + "s\\'4", "s4"},                        // half a \'hh
      {head + "s\\", "s"},                           // a backslash at the end
      {head + "s\\bin99999999 g]kfn", "s"},          // binary data longer than the input
      {head + "s{\\*", "s"},
      {head + "{\r\n\\*\\x g]kfn}s", "s"},          // a line break before a destination's \*
      {head + "s\\\n;", "s\r\n;"},                    // a backslash ending a line is \par
  };
  for (const Case& c : cases) {
    RtfResult result;
    ASSERT_NO_THROW(result = ConvertRtf(c.rtf, ToUnicode())) << c.rtf;
    EXPECT_EQ(result.plainText, convert::ToUnicode(c.legacy)) << c.rtf;
  }
  // Without legacy text nothing is rewritten, however broken the rest.
  for (const std::string broken : {"{\\rtf1 }}}{", "{\\rtf1{\\fonttbl{\\f0 Arial", "{\\rtf1\\u\\'zz\\bin-5 x"})
    EXPECT_EQ(ConvertRtf(broken, ToUnicode()).rtf, broken);
}

}  // namespace
}  // namespace lk::documents
