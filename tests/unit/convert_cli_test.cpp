#include "cli/convert_cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "convert/converter.h"
#include "convert/legacy_font.h"
#include "temp_dir.h"
#include "text/cp1252.h"
#include "text/utf8.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace lk::cli {
namespace {

using namespace lk::testing;
using lk::convert::Direction;
using lk::convert::Eyelash;
using lk::convert::LegacyFont;

struct Result {
  int status;
  std::string out;
  std::string err;
};

Result Convert(std::vector<std::string> args, const std::string& input = {},
           std::size_t chunkSize = std::size_t{1} << 16) {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunConvert(args, {in, out, err, chunkSize});
  return {status, out.str(), err.str()};
}

// Paths go to the command as UTF-8, the way its Windows entry point hands them over.
std::string Arg(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return {utf8.begin(), utf8.end()};
}

const std::string kBom = "\xEF\xBB\xBF";
const std::string kUsage =
    "usage: lekhopakar-convert --to unicode|legacy [--font NAME] [--unicode-font NAME] [--eyelash zwj|rra] [--strict]"
    " [-o OUT] [--jobs N] [--overwrite] [PATH...]";

TEST(ConvertCliArgs, OptionsTakeTheirValueSeparateOrAfterAnEqualsSign) {
  const std::vector<std::string> args = {"--to=legacy", "--font", "kantipur", "--eyelash=RRA", "--strict",
                                         "a.txt",       "-",      "--",       "--to",          "-x"};
  const ParsedArgs parsed = ParseConvertArgs(args);
  ASSERT_TRUE(parsed.args) << parsed.error;
  EXPECT_EQ(parsed.args->direction, Direction::kToLegacy);
  EXPECT_EQ(parsed.args->options.font, LegacyFont::kKantipur);
  EXPECT_EQ(parsed.args->options.eyelash, Eyelash::kRra);
  EXPECT_TRUE(parsed.args->strict);
  EXPECT_EQ(parsed.args->files, (std::vector<std::string>{"a.txt", "-", "--to", "-x"}));

  const std::vector<std::string> documents = {"--to", "unicode", "-o", "out", "--jobs=3", "--unicode-font",
                                              "Noto Sans Devanagari", "--overwrite", "दस्तावेज"};
  const ParsedArgs forDocuments = ParseConvertArgs(documents);
  ASSERT_TRUE(forDocuments.args) << forDocuments.error;
  EXPECT_EQ(forDocuments.args->output, "out");
  EXPECT_EQ(forDocuments.args->jobs, 3u);
  EXPECT_EQ(forDocuments.args->unicodeFont, "Noto Sans Devanagari");
  EXPECT_TRUE(forDocuments.args->overwrite);
  EXPECT_EQ(forDocuments.args->files, (std::vector<std::string>{"दस्तावेज"}));

  const std::vector<std::string> plain = {"--to", "unicode"};
  const ParsedArgs defaults = ParseConvertArgs(plain);
  ASSERT_TRUE(defaults.args);
  EXPECT_EQ(defaults.args->direction, Direction::kToUnicode);
  EXPECT_EQ(defaults.args->options.font, LegacyFont::kPreeti);
  EXPECT_EQ(defaults.args->options.eyelash, Eyelash::kZwj);
  EXPECT_FALSE(defaults.args->strict);
  EXPECT_TRUE(defaults.args->files.empty());
  EXPECT_FALSE(defaults.args->output);
  EXPECT_FALSE(defaults.args->jobs);
  EXPECT_FALSE(defaults.args->unicodeFont);
  EXPECT_FALSE(defaults.args->overwrite);
}

TEST(ConvertCliArgs, FontNamesMatchTheWayWindowsListsThemWhateverTheSpelling) {
  const std::pair<const char*, LegacyFont> cases[] = {
      {"Preeti", LegacyFont::kPreeti},
      {"PREETI", LegacyFont::kPreeti},
      {"Kantipur", LegacyFont::kKantipur},
      {"sagarmatha", LegacyFont::kSagarmatha},
      {"PCS NEPALI", LegacyFont::kPcsNepali},
      {"pcs-nepali", LegacyFont::kPcsNepali},
      {"PcsNepali", LegacyFont::kPcsNepali},
      {"FONTASY_HIMALI_TT", LegacyFont::kFontasyHimaliTt},
      {"Fontasy Himali TT", LegacyFont::kFontasyHimaliTt},
      {"fontasy-himali_tt", LegacyFont::kFontasyHimaliTt},
  };
  for (const auto& [name, font] : cases) {
    const std::vector<std::string> args = {"--to", "unicode", "--font", name};
    const ParsedArgs parsed = ParseConvertArgs(args);
    ASSERT_TRUE(parsed.args) << name << ": " << parsed.error;
    EXPECT_EQ(parsed.args->options.font, font) << name;
  }
}

TEST(ConvertCliArgs, WrongUsageExitsWithTwoAndTheUsageLine) {
  const std::vector<std::vector<std::string>> wrong = {
      {},
      {"--font", "Preeti"},
      {"--to", "utf8"},
      {"--to"},
      {"--to", "unicode", "--font"},
      {"--to", "unicode", "--font", "Arial"},
      {"--to", "unicode", "--font", "Preeti2"},
      {"--to", "unicode", "--eyelash", "reph"},
      {"--to", "unicode", "--verbose"},
      {"--to", "unicode", "-s"},
      {"--strict=yes", "--to", "unicode"},
      {"--to", "unicode", "--overwrite=yes"},
      {"--to", "unicode", "-o"},
      {"--to", "unicode", "-o", ""},
      {"--to", "unicode", "-o", "a", "-o", "b", "x.docx"},
      {"--to", "unicode", "--jobs", "0"},
      {"--to", "unicode", "--jobs", "-1"},
      {"--to", "unicode", "--jobs", "257"},
      {"--to", "unicode", "--jobs", "4x"},
      {"--to", "unicode", "--jobs"},
      {"--to", "unicode", "--unicode-font", "  "},
      {"--to", "unicode", "--unicode-font", std::string(32, 'N')},
      {"--to", "unicode", "--unicode-font", "Nirmala	UI"},
  };
  for (const auto& args : wrong) {
    const Result result = Convert(args, "s");
    std::string shown;
    for (const auto& a : args) shown += "[" + a + "]";
    EXPECT_EQ(result.status, 2) << shown;
    EXPECT_EQ(result.out, "") << shown;
    EXPECT_EQ(result.err.rfind("lekhopakar-convert: ", 0), 0u) << shown << result.err;
    EXPECT_NE(result.err.find("\n" + kUsage + "\n"), std::string::npos) << shown << result.err;
  }
}

TEST(ConvertCliArgs, AnUnknownFontIsNamedBesideTheFontsThatExist) {
  const Result result = Convert({"--to", "legacy", "--font", "Mangal"});
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.err.find("\"Mangal\""), std::string::npos) << result.err;
  for (LegacyFont font : lk::convert::kAllLegacyFonts) {
    EXPECT_NE(result.err.find(std::string(lk::convert::LegacyFontName(font))), std::string::npos) << result.err;
  }
}

TEST(ConvertCliArgs, HelpGoesToStandardOutput) {
  const Result result = Convert({"--help"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out.rfind(kUsage + "\n", 0), 0u);
  EXPECT_EQ(result.err, "");
}

TEST(ConvertCliStreams, StandardInputConvertsBothWaysKeepingEveryLineBreak) {
  const Result toUnicode = Convert({"--to", "unicode"}, "g]kfn\r\n\r\nsn\nsn\r\ng]kfn");
  EXPECT_EQ(toUnicode.status, 0);
  EXPECT_EQ(toUnicode.out, "नेपाल\r\n\r\nकल\nकल\r\nनेपाल");
  EXPECT_EQ(toUnicode.err, "");

  const Result toLegacy = Convert({"--to", "legacy"}, "नेपाल\r\nकल\n\nकल\r\n");
  EXPECT_EQ(toLegacy.status, 0);
  EXPECT_EQ(toLegacy.out, "g]kfn\r\nsn\n\nsn\r\n");
  EXPECT_EQ(toLegacy.err, "");

  const Result empty = Convert({"--to", "unicode"}, "");
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(empty.out, "");
}

TEST(ConvertCliStreams, OneLeadingByteOrderMarkIsDroppedWhereverTheReadsSplitIt) {
  for (std::size_t chunk : {1u, 2u, 4u, 4096u}) {
    EXPECT_EQ(Convert({"--to", "unicode"}, kBom + "g]kfn\n", chunk).out, "नेपाल\n") << chunk;
    EXPECT_EQ(Convert({"--to", "legacy"}, kBom + "नेपाल\n", chunk).out, "g]kfn\n") << chunk;
    // Only the first mark is the file's; a second one is text for the converter.
    EXPECT_EQ(Convert({"--to", "legacy"}, kBom + kBom + "नेपाल", chunk).out, lk::convert::ToLegacy(kBom + "नेपाल"))
        << chunk;
    EXPECT_EQ(Convert({"--to", "unicode"}, "s" + kBom, chunk).out, lk::convert::ToUnicode("s" + kBom)) << chunk;
    // Shorter than a mark, and a mark's first bytes that turn out to be something else.
    EXPECT_EQ(Convert({"--to", "unicode"}, "s", chunk).out, "क") << chunk;
    EXPECT_EQ(Convert({"--to", "legacy"}, "\xEF\xBB\xBE", chunk).out, lk::convert::ToLegacy("\xEF\xBB\xBE")) << chunk;
  }
}

TEST(ConvertCliStreams, OutputDoesNotDependOnHowTheInputIsCutIntoReads) {
  const std::string unicode =
      "प्रधानमन्त्रीको कार्यालय, २०८१ साल।\r\nअर्थात् ‘गर्दा’ क्रिया पर्‍यो!\nशिक्षा स्वास्थ्य\n";
  const std::string legacy = lk::convert::ToLegacy(unicode);
  const std::string back = lk::convert::ToUnicode(legacy);
  for (std::size_t chunk : {1u, 2u, 3u, 5u, 7u, 64u}) {
    EXPECT_EQ(Convert({"--to", "legacy"}, unicode, chunk).out, legacy) << chunk;
    EXPECT_EQ(Convert({"--to", "unicode"}, legacy, chunk).out, back) << chunk;
  }
}

TEST(ConvertCliStreams, OptionsReachTheConverter) {
  lk::convert::Options rra;
  rra.eyelash = Eyelash::kRra;
  const std::string eyelash = "k\u00A5of]";
  const Result withZwj = Convert({"--to", "unicode"}, eyelash);
  const Result withRra = Convert({"--to", "unicode", "--eyelash", "rra"}, eyelash);
  EXPECT_EQ(withZwj.out, lk::convert::ToUnicode(eyelash));
  EXPECT_EQ(withRra.out, lk::convert::ToUnicode(eyelash, rra));
  EXPECT_NE(withZwj.out, withRra.out);

  // The unshifted number row is letters in Preeti and Kantipur, digits in PCS Nepali and Himali.
  EXPECT_EQ(Convert({"--to", "unicode"}, "6").out, "ट");
  EXPECT_EQ(Convert({"--to", "unicode", "--font", "Kantipur"}, "6").out, "ट");
  EXPECT_EQ(Convert({"--to", "unicode", "--font", "pcs nepali"}, "6").out, "६");
  EXPECT_EQ(Convert({"--to", "unicode", "--font", "Fontasy-Himali-TT"}, "6").out, "६");
  EXPECT_EQ(Convert({"--to", "legacy", "--font", "PCS_NEPALI"}, "६").out, "6");
}

TEST(ConvertCliStreams, AnOutputThatCannotBeWrittenFailsWithOne) {
  std::istringstream in("g]kfn");
  std::ostream out(nullptr);  // every write fails
  std::ostringstream err;
  EXPECT_EQ(RunConvert(std::vector<std::string>{"--to", "unicode"}, {in, out, err}), 1);
  EXPECT_NE(err.str().find("cannot write"), std::string::npos) << err.str();
}

class ConvertCliFiles : public ::testing::Test {
 protected:
  std::string File(const std::string& name, const std::string& bytes) {
    const fs::path path = dir_.path() / name;
    WriteBytes(path, bytes);
    return Arg(path);
  }
  TempDir dir_;
};

TEST_F(ConvertCliFiles, FilesAndStandardInputAreConvertedInTheOrderGiven) {
  const std::string a = File("a.txt", kBom + "g]kfn\r\n");
  const std::string b = File("b.txt", kBom + "sn");
  const Result result = Convert({"--to", "unicode", a, "-", b, "--", a}, "sf]\n");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "नेपाल\r\n" + lk::convert::ToUnicode("sf]\n") + "कल" + "नेपाल\r\n");
  EXPECT_EQ(result.err, "");
}

TEST_F(ConvertCliFiles, TextToMakeLegacyThatIsNotUtf8IsNamedWithItsPlaceAndNothingOfItIsWritten) {
  struct Case {
    std::string bytes;
    const char* place;
  };
  const Case cases[] = {
      {"sn\nkf\xFF\n", ":2:3:"},                       // a byte that never starts UTF-8
      {"नेपाल\xC3(", ":1:6:"},                         // columns count characters, not bytes
      {"a\r\nb\r\n\xE0\xA4", ":3:1:"},                 // cut off at the end; CR is part of the line
      {kBom + "\xC0\x80", ":1:1:"},                    // overlong; the mark takes no column
      {"kf\xED\xA0\x80", ":1:3:"},                     // a surrogate
      {"\n\n\xF4\x90\x80\x80", ":3:1:"},               // past U+10FFFF
      {"s" + kBom + "\x80", ":1:3:"},                  // a stray continuation byte
      {std::string(70000, 's') + "\n\xE0\xA4s", ":2:1:"},  // across the boundary of two reads
  };
  const std::string good = File("good.txt", "कल\n");
  for (const Case& c : cases) {
    const std::string bad = File("bad.txt", c.bytes);
    const Result result = Convert({"--to", "legacy", good, bad, good});
    EXPECT_EQ(result.status, 1) << c.place;
    EXPECT_EQ(result.out, "sn\nsn\n") << c.place;
    EXPECT_EQ(result.err, "lekhopakar-convert: " + bad + c.place + " not valid UTF-8; nothing of this file was written\n");
  }
}

TEST_F(ConvertCliFiles, StandardInputThatIsNotUtf8IsHeldBackWhole) {
  const std::string good = File("good.txt", "कल");
  for (std::size_t chunk : {1u, 3u, 65536u}) {
    const Result result = Convert({"--to", "legacy", "-", good}, "नेपाल\r\nकल\r\n\xE0\x80\x80 कल", chunk);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "sn") << chunk;
    EXPECT_EQ(result.err,
              "lekhopakar-convert: (standard input):3:1: not valid UTF-8; nothing of this file was written\n");
  }
}

TEST_F(ConvertCliFiles, FilesThatCannotBeReadAreNamedAndTheOthersStillConverted) {
  const std::string good = File("good.txt", "sn");
  const std::string missing = Arg(dir_.path() / "missing.txt");
  const Result result = Convert({"--to", "unicode", missing, good});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "कल");
  EXPECT_EQ(result.err.find("lekhopakar-convert: cannot read " + missing + ": "), 0u) << result.err;
}

TEST_F(ConvertCliFiles, CharactersWithoutAnEquivalentAreCountedAndStrictTurnsThemIntoStatusThree) {
  const std::string clean = File("clean.txt", "नेपाल\n");
  const std::string first = File("first.txt", "कल\nक\u4E2D\u4E2D\n");
  const std::string later = File("later.txt", "\u4E2D");
  const std::string message = "lekhopakar-convert: 3 characters had no equivalent and were left as they were (first at " +
                              first + ":2:2)\n";

  const Result counted = Convert({"--to", "legacy", clean, first, later});
  EXPECT_EQ(counted.status, 0);
  EXPECT_EQ(counted.out, "g]kfn\nsn\ns\u4E2D\u4E2D\n\u4E2D");
  EXPECT_EQ(counted.err, message);

  const Result strict = Convert({"--to", "legacy", "--strict", clean, first, later});
  EXPECT_EQ(strict.status, 3);
  EXPECT_EQ(strict.out, counted.out);
  EXPECT_EQ(strict.err, message);

  const Result one = Convert({"--to", "unicode", "--strict"}, "sn\u4E2D");
  EXPECT_EQ(one.status, 3);
  EXPECT_EQ(one.err,
            "lekhopakar-convert: 1 character had no equivalent and was left as it was (first at (standard input):1:3)\n");

  // A file that could not be read is the graver fault.
  const Result both = Convert({"--to", "legacy", "--strict", first, Arg(dir_.path() / "missing.txt")});
  EXPECT_EQ(both.status, 1);

  const Result none = Convert({"--to", "legacy", "--strict", clean});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.err, "");
}

// Text as Notepad saves it under "Unicode" (little-endian) or "Unicode big endian".
std::string Utf16File(std::u16string_view text, bool little) {
  std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
  for (char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    bytes += little ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

TEST_F(ConvertCliFiles, Utf16WithAByteOrderMarkIsReadAsSuchBothWays) {
  struct Case {
    const char* to;
    std::u16string text;
  };
  const Case cases[] = {
      {"unicode", u"g]kfn\r\nk\u00A5of] \u2030"},  // legacy text is the Windows-1252 reading of its codes
      {"unicode", u""},
      {"legacy", u"नेपाल\nक\U0001F600"},  // a character beyond U+FFFF is a surrogate pair
  };
  for (const Case& c : cases) {
    const std::string utf8 = lk::text::Utf16ToUtf8(c.text);
    const std::string expected = std::string(c.to) == "unicode" ? lk::convert::ToUnicode(utf8) : lk::convert::ToLegacy(utf8);
    for (bool little : {true, false}) {
      const std::string bytes = Utf16File(c.text, little);
      const std::string file = File("utf16.txt", bytes);
      for (std::size_t chunk : {1u, 2u, 3u, 65536u}) {
        const Result fromFile = Convert({"--to", c.to, file}, "", chunk);
        EXPECT_EQ(fromFile.status, 0) << fromFile.err;
        EXPECT_EQ(fromFile.out, expected) << little << " " << chunk;
        EXPECT_EQ(fromFile.err.find("not valid"), std::string::npos) << fromFile.err;
        const Result fromInput = Convert({"--to", c.to}, bytes, chunk);
        EXPECT_EQ(fromInput.out, expected) << little << " " << chunk;
      }
    }
  }
}

TEST_F(ConvertCliFiles, BrokenUtf16IsNamedWithItsPlaceAndNothingOfItIsWritten) {
  struct Case {
    std::u16string units;
    bool oddByte;
    const char* place;
  };
  const Case cases[] = {
      {u"sn\nk\xD800" u"f", false, ":2:2:"},  // a high surrogate without its pair
      {u"\xDC00", false, ":1:1:"},           // a low surrogate alone
      {u"sn\xD83D", false, ":1:3:"},         // the input ends inside a pair
      {u"sn", true, ":1:3:"},                // an odd last byte
  };
  for (const Case& c : cases) {
    for (bool little : {true, false}) {
      std::string bytes = Utf16File(c.units, little);
      if (c.oddByte) bytes += 's';
      const std::string bad = File("bad.txt", bytes);
      const Result result = Convert({"--to", "unicode", bad}, "", 3);
      EXPECT_EQ(result.status, 1) << c.place;
      EXPECT_EQ(result.out, "") << c.place;
      EXPECT_EQ(result.err, "lekhopakar-convert: " + bad + c.place + " not valid UTF-16 (" +
                                (little ? "little" : "big") + "-endian); nothing of this file was written\n");
    }
  }
}

TEST_F(ConvertCliFiles, LegacyTextThatIsNotUtf8IsReadAsWindows1252AndSaidSo) {
  // Notepad's "ANSI": the font's codes themselves, 0x81 (undefined in
  // Windows-1252) and 0x89 among them.
  const std::string bytes = "g]kfn\r\nk\xA5of] \x89\x81";
  const std::string expected = lk::convert::ToUnicode(lk::text::Cp1252ToUtf8(bytes));
  const std::string file = File("ansi.txt", bytes);
  for (std::size_t chunk : {1u, 3u, 65536u}) {
    const Result fromFile = Convert({"--to", "unicode", file}, "", chunk);
    EXPECT_EQ(fromFile.status, 0) << fromFile.err;
    EXPECT_EQ(fromFile.out, expected) << chunk;
    EXPECT_EQ(fromFile.err.rfind(
                  "lekhopakar-convert: " + file + ":2:2: not valid UTF-8; read as Windows-1252 (Notepad's \"ANSI\")\n", 0),
              0u)
        << fromFile.err;
    const Result fromInput = Convert({"--to", "unicode"}, bytes, chunk);
    EXPECT_EQ(fromInput.out, expected) << chunk;
    EXPECT_EQ(fromInput.err.rfind("lekhopakar-convert: (standard input):2:2: not valid UTF-8; read as Windows-1252 "
                                  "(Notepad's \"ANSI\")\n",
                                  0),
              0u)
        << fromInput.err;
  }
  // A byte order mark of UTF-8 is no mark in Windows-1252, and a fault long
  // after the first read still turns the whole file.
  const std::string late = kBom + std::string(70000, 's') + "\xA5";
  EXPECT_EQ(Convert({"--to", "unicode", File("late.txt", late)}).out,
            lk::convert::ToUnicode(lk::text::Cp1252ToUtf8(late)));

  // Text holds no NUL bytes: such a file is something else.
  const std::string binary = File("binary.txt", std::string("sn\0\0\xFF", 5));
  const Result refused = Convert({"--to", "unicode", binary});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(refused.err, "lekhopakar-convert: " + binary +
                             ":1:5: not valid UTF-8, nor Windows-1252 text (it holds NUL bytes); nothing of this "
                             "file was written\n");
}

#ifndef _WIN32
TEST_F(ConvertCliFiles, APipeNamedAsAFileIsReadOnce) {
  const fs::path fifo = dir_.path() / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] { WriteBytes(fifo, "g]kfn\r\nsn"); });
  const Result result = Convert({"--to", "unicode", Arg(fifo)});
  writer.join();
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "नेपाल\r\nकल");
}
#endif

TEST(Utf8Checker, AgreesWithTheWholeTextCheckWhateverThePieces) {
  const std::string samples[] = {
      "",          "abc",          "नेपाल",         "\xC2\x80\xDF\xBF",      "\xE0\xA0\x80\xEF\xBF\xBF",
      "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\x9F\xBF\xED\xA0\x80",
      "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80", "\xFE", "a\x80", "\xE2\x82", "\xE2\x82\xAC\xE2",
      "क\xE0\xA4", "\xC2" "a",
  };
  for (const std::string& text : samples) {
    const bool valid = !lk::text::FirstInvalidUtf8(text).has_value();
    for (std::size_t piece = 1; piece <= 4; ++piece) {
      Utf8Checker checker;
      for (std::size_t at = 0; at < text.size(); at += piece) checker.Feed(std::string_view(text).substr(at, piece));
      EXPECT_EQ(checker.Finish(), valid) << ::testing::PrintToString(text) << " in pieces of " << piece;
    }
  }
}

TEST(Utf8Checker, PlacesTheFaultByCharactersWhateverTheRunOfAsciiBeforeIt) {
  // Runs of plain ASCII are checked several bytes at a time; the count of
  // columns and lines must not notice where such a run starts or stops.
  for (std::size_t before = 0; before < 20; ++before) {
    for (std::size_t after = 0; after < 20; after += 3) {
      const std::string text = "क" + std::string(before, 'a') + "\n" + std::string(after, 'b') + "\xFF" + "cccccccc";
      for (std::size_t piece : {1u, 5u, 8u, 13u, 64u}) {
        Utf8Checker checker;
        for (std::size_t at = 0; at < text.size(); at += piece) checker.Feed(std::string_view(text).substr(at, piece));
        EXPECT_FALSE(checker.Finish());
        EXPECT_EQ(checker.line(), 2u) << before << " " << after << " " << piece;
        EXPECT_EQ(checker.column(), after + 1) << before << " " << after << " " << piece;
      }
    }
  }
}

}  // namespace
}  // namespace lk::cli
