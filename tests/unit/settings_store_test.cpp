#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "settings/app_path.h"
#include "temp_dir.h"
#include "text/trim.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace lk::settings {
namespace {

using namespace lk::testing;

// A folder per case: no case sees another case's LK.ini.
class SettingsStoreTest : public ::testing::Test {
 protected:
  TempDir dir_;
  SettingsStore store_{dir_.ini()};
};
class SettingsStoreRead : public SettingsStoreTest {};
class SettingsStoreWrite : public SettingsStoreTest {};

TEST_F(SettingsStoreRead, AbsentFileSectionOrKeyGivesTheDefaultWithoutTrailingBlanks) {
  EXPECT_EQ(ReadSetting(store_, "Customize", "cap01", "Ll"), "Ll");
  EXPECT_EQ(ReadSetting(store_, "Customize", "ttt06", "  "), "");
  EXPECT_EQ(ReadSetting(store_, "Customize", "Character", " "), "");
  EXPECT_EQ(ReadSetting(store_, "Customize", "x", " a  "), " a");

  WriteBytes(dir_.ini(), "[Font]\r\nLastFont=Preeti\r\n");
  EXPECT_EQ(store_.Read("WinPos", "Top", "300", kDirectReadCapacity), "300");
  EXPECT_EQ(store_.Read("Font", "Other", "  ", kDirectReadCapacity), "");
  // A key of that name in another section is not this key.
  EXPECT_EQ(store_.Read("Customize", "LastFont", "Arial", kDirectReadCapacity), "Arial");
}

TEST_F(SettingsStoreRead, PresentEmptyKeyIsEmptyNotTheDefault) {
  WriteBytes(dir_.ini(), "[Customize]\r\nCharacter=\r\ncap01=   \r\n");
  EXPECT_EQ(ReadSetting(store_, "Customize", "Character", "-"), "");
  EXPECT_EQ(ReadSetting(store_, "Customize", "cap01", "Ll"), "");
}

TEST_F(SettingsStoreRead, LongValuesAreCutToCapacityLessOne) {
  const std::string value(120, 'k');
  WriteBytes(dir_.ini(), "[Font]\r\nLastFont=" + value + "\r\n");
  EXPECT_EQ(ReadSetting(store_, "Font", "LastFont", ""), value.substr(0, 99));
  EXPECT_EQ(store_.Read("Font", "LastFont", "", kDirectReadCapacity), value.substr(0, 49));
  EXPECT_EQ(store_.Read("Font", "LastFont", "", 1), "");
  EXPECT_EQ(store_.Read("Font", "Absent", value, kDirectReadCapacity), value.substr(0, 49));
}

// Several keys from one reading of the file, each under the rules of a
// single read: defaults, letter case, quotes, blanks, sections, the cut.
TEST_F(SettingsStoreRead, ReadEachAppliesTheValueRulesToEveryKey) {
  const std::string longValue(120, 'k');
  const SettingsStore::Lookup lookups[] = {
      {"cap01", "Ll"}, {"IN103", "x"}, {"in203", "  "}, {"ttt06", "... "}, {"Character", "-"}, {"long", ""},
  };
  struct Row {
    std::string file;  // empty: no file at all
    std::vector<std::string> values;
  };
  const Row rows[] = {
      {"", {"Ll", "x", "", "...", "-", ""}},
      {"[Customize]\r\ncap01=  \"-\" \r\nin103=\r\nLONG=" + longValue + "\r\n[Other]\r\nCharacter==\r\n",
       {"-", "", "", "...", "-", longValue.substr(0, 99)}},
      {"[CUSTOMIZE]\r\nCharacter==\r\nttt06='tip'\r\nin203= _\r\n", {"Ll", "x", "_", "tip", "=", ""}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    if (row.file.empty())
      std::filesystem::remove(dir_.ini());
    else
      WriteBytes(dir_.ini(), row.file);
    EXPECT_EQ(ReadSettings(store_, "Customize", lookups), row.values);
    EXPECT_EQ(store_.ReadEach("Customize", std::span(lookups).last(1), kDirectReadCapacity).front(),
              row.values.back().substr(0, 49));
  }
}

TEST_F(SettingsStoreRead, SectionAndKeyNamesIgnoreLetterCase) {
  WriteBytes(dir_.ini(), "[CUSTOMIZE]\r\nCFONTNAME=Kantipur\r\n");
  EXPECT_EQ(ReadSetting(store_, "customize", "cFontName", "Preeti"), "Kantipur");
  EXPECT_EQ(ReadSetting(store_, "Customize", "CfontName", "Preeti"), "Kantipur");
}

TEST_F(SettingsStoreWrite, ReplacingAKeyWrittenInAnotherCaseLeavesOneEntry) {
  WriteBytes(dir_.ini(), "[customize]\r\ncharacter=-\r\nRepeat=3\r\n");
  ASSERT_TRUE(store_.Write("Customize", "Character", "="));
  EXPECT_EQ(ReadSetting(store_, "Customize", "character", "-"), "=");
  EXPECT_EQ(ReadSetting(store_, "Customize", "Repeat", "1"), "3");
  const auto lines = Lines(ReadBytes(dir_.ini()));
  const auto entries = std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.size() >= 10 && lk::text::EqualsIgnoreCase(l.substr(0, 10), "character=");
  });
  EXPECT_EQ(entries, 1);
  const auto headers = std::count_if(lines.begin(), lines.end(),
                                     [](const std::string& l) { return lk::text::EqualsIgnoreCase(l, "[customize]"); });
  EXPECT_EQ(headers, 1);
}

TEST_F(SettingsStoreRead, ValueRulesTrimBlanksAndDropOnePairOfEqualQuotes) {
  struct Case {
    const char* stored;
    const char* reads;
  };
  const Case cases[] = {
      {" 120", "120"},           {"  Dot Dot Dot  ", "Dot Dot Dot"},
      {"'x'", "x"},              {"\"x\"", "x"},
      {"\" a \"", " a "},        {"''", ""},
      {"'", "'"},                {"\"", "\""},
      {"'\"", "'\""},            {"\"'", "\"'"},
      {"'x", "'x"},              {"x\"", "x\""},
      {"\"\"x\"\"", "\"x\""},
  };
  const auto key = [](std::size_t i) { return std::string(1, 'k').append(std::to_string(i)); };
  std::string file = "[Customize]\r\n";
  for (std::size_t i = 0; i < std::size(cases); ++i) file += key(i) + "=" + cases[i].stored + "\r\n";
  WriteBytes(dir_.ini(), file);
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(ReadSetting(store_, "Customize", key(i), "def"), cases[i].reads)
        << "stored as [" << cases[i].stored << "]";
}

TEST_F(SettingsStoreRead, CrLfAndLfFilesReadTheSame) {
  const std::string body = "[WinPos]|Left= 120|Top=45||[Customize]|cap01=Ll|ttt01= Change |Character==";
  std::string crlf, lf;
  for (char c : body) {
    crlf += c == '|' ? std::string("\r\n") : std::string(1, c);
    lf += c == '|' ? std::string("\n") : std::string(1, c);
  }
  const auto a = dir_.path() / "crlf.ini";
  const auto b = dir_.path() / "lf.ini";
  WriteBytes(a, crlf);
  WriteBytes(b, lf);
  const std::pair<const char*, const char*> keys[] = {
      {"WinPos", "Left"}, {"WinPos", "Top"}, {"Customize", "cap01"}, {"Customize", "ttt01"}, {"Customize", "Character"}};
  for (const auto& [section, key] : keys) {
    const auto fromCrLf = ReadSetting(SettingsStore(a), section, key, "absent");
    EXPECT_NE(fromCrLf, "absent") << key;
    EXPECT_EQ(fromCrLf, ReadSetting(SettingsStore(b), section, key, "absent")) << key;
  }
  EXPECT_EQ(ReadSetting(SettingsStore(b), "Customize", "Character", ""), "=");
}

TEST_F(SettingsStoreRead, JunkInTheFileNeverHidesOtherKeys) {
  std::string file = "; a comment\r\n\r\n   \r\njunk without equals\r\n[WinPos]\r\n";
  file += "# another comment\r\n=no key\r\n" + std::string(1 << 20, 'x') + "\r\n";
  file += std::string("bin\0\x01\xFF\x80=\0\0", 10) + "\r\nLeft= 77\r\n";
  file += std::string("nul=ab\0cd", 9) + "\r\n[\r\n]\r\n[Font]\r\nLastFont=Preeti\r\n";
  WriteBytes(dir_.ini(), file);
  EXPECT_EQ(store_.Read("WinPos", "Left", "0", kDirectReadCapacity), "77");
  EXPECT_EQ(store_.Read("WinPos", "nul", "", kDirectReadCapacity), "ab");
  EXPECT_EQ(store_.Read("Font", "LastFont", "Arial", kDirectReadCapacity), "Preeti");

  // A write touches its own entry and leaves every other line as it was.
  ASSERT_TRUE(store_.Write("WinPos", "Top", " 5"));
  const auto before = Lines(file);
  auto after = Lines(ReadBytes(dir_.ini()));
  EXPECT_EQ(store_.Read("WinPos", "Top", "300", kDirectReadCapacity), "5");
  after.erase(std::remove(after.begin(), after.end(), "Top= 5"), after.end());
  EXPECT_EQ(after, before);
}

TEST_F(SettingsStoreWrite, CreatesFileAndSectionAndKeepsOtherLines) {
  ASSERT_TRUE(store_.Write("Font", "LastFont", "Preeti"));
  EXPECT_EQ(store_.Read("Font", "LastFont", "Arial", kDirectReadCapacity), "Preeti");
  ASSERT_TRUE(store_.Write("WinPos", "Left", " 120"));
  ASSERT_TRUE(store_.Write("Font", "LastFont", ""));
  ASSERT_TRUE(store_.Write("Font", "Extra", "1"));
  EXPECT_EQ(store_.Read("WinPos", "Left", "0", kDirectReadCapacity), "120");
  EXPECT_EQ(store_.Read("Font", "LastFont", "Arial", kDirectReadCapacity), "");
  EXPECT_EQ(store_.Read("Font", "Extra", "", kDirectReadCapacity), "1");
  const auto lines = Lines(ReadBytes(dir_.ini()));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Left= 120"), lines.end()) << "written verbatim after '='";
  EXPECT_NE(std::find(lines.begin(), lines.end(), "LastFont="), lines.end());
}

TEST_F(SettingsStoreWrite, LineBreaksInAValueCannotAddAKeyOrSection) {
  for (const char* evil : {"x\r\nRepeat=99", "x\nRepeat=99", "x\rRepeat=99", "x\n[Font]\nLastFont=evil"}) {
    ASSERT_TRUE(store_.Write("Customize", "Character", evil));
    EXPECT_EQ(ReadSetting(store_, "Customize", "Character", ""), "x") << evil;
    EXPECT_EQ(ReadSetting(store_, "Customize", "Repeat", "1"), "1") << evil;
    EXPECT_EQ(store_.Read("Font", "LastFont", "Arial", kDirectReadCapacity), "Arial") << evil;
  }
}

TEST_F(SettingsStoreWrite, FailedWriteLeavesTheOldFileByteForByte) {
  const std::string old = "[Font]\nLastFont=Preeti\n; keep\n";
  WriteBytes(dir_.ini(), old);
  fs::path temp = dir_.ini();
  temp += ".tmp";
  fs::create_directory(temp);
  EXPECT_FALSE(store_.Write("Font", "LastFont", "Kantipur"));
  EXPECT_EQ(ReadBytes(dir_.ini()), old);
  EXPECT_EQ(store_.Read("Font", "LastFont", "Arial", kDirectReadCapacity), "Preeti");
}

TEST_F(SettingsStoreWrite, MissingDirectoryFails) {
  SettingsStore store(dir_.path() / "absent" / "LK.ini");
  EXPECT_FALSE(store.Write("Font", "LastFont", "Preeti"));
  EXPECT_FALSE(fs::exists(dir_.path() / "absent"));
}

TEST_F(SettingsStoreWrite, ReadOnlyDirectoryLeavesTheFileUnchanged) {
#ifdef _WIN32
  GTEST_SKIP() << "directory permission bits do not stop writes on Windows";
#else
  if (geteuid() == 0) GTEST_SKIP() << "root ignores permission bits";
  const std::string old = "[WinPos]\r\nLeft= 5\r\n";
  WriteBytes(dir_.ini(), old);
  fs::permissions(dir_.path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_FALSE(store_.Write("WinPos", "Left", "600"));
  fs::permissions(dir_.path(), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(ReadBytes(dir_.ini()), old);
#endif
}

TEST_F(SettingsStoreWrite, Windows1252BytesRoundTrip) {
  ASSERT_TRUE(store_.Write("Customize", "cap04", "\xE6/\xC6"));
  ASSERT_TRUE(store_.Write("Customize", "cap05", "\x85/\xDA"));
  std::string every;  // codes 33..255: no blank or quote at either end to be trimmed
  for (int c = 33; c <= 255; ++c) every.push_back(static_cast<char>(c));
  ASSERT_TRUE(store_.Write("Customize", "in103", every));
  EXPECT_EQ(ReadSetting(store_, "Customize", "cap04", ""), "\xE6/\xC6");
  EXPECT_EQ(ReadSetting(store_, "Customize", "cap05", ""), "\x85/\xDA");
  EXPECT_EQ(store_.Read("Customize", "in103", "", 1000), every);
}

TEST_F(SettingsStoreWrite, WorksInAFolderWhoseNameIsNotAscii) {
  // Installed under a Devanagari folder name, the file must still be found:
  // a narrow-character file call would lose the name on Windows.
  const fs::path folder = dir_.path() / fs::path(u8"\u0932\u0947\u0916 \u00E6");
  fs::create_directory(folder);
  SettingsStore store(folder / "LK.ini");
  ASSERT_TRUE(store.Write("Font", "LastFont", "Preeti"));
  ASSERT_TRUE(store.Write("Font", "LastFont", "Kantipur"));
  EXPECT_EQ(store.Read("Font", "LastFont", "Arial", kDirectReadCapacity), "Kantipur");
  EXPECT_TRUE(fs::exists(folder / "LK.ini"));
}

TEST(AppPath, EndsInExactlyOneSeparator) {
  using S = fs::path::string_type;
  constexpr auto sep = fs::path::preferred_separator;
#ifdef _WIN32
  const S root = L"C:\\";
  const S dir = L"C:\\Program Files\\Lekhopakar";
#else
  const S root = "/";
  const S dir = "/opt/lekhopakar";
#endif
  EXPECT_EQ(AppPathFrom(root), root);
  EXPECT_EQ(AppPathFrom(dir), dir + sep);
  EXPECT_EQ(AppPathFrom(dir + sep), dir + sep);
  EXPECT_EQ(SettingsFileIn(AppPathFrom(root)), fs::path(root + S(fs::path("LK.ini").native())));
  EXPECT_EQ(SettingsFileIn(AppPathFrom(dir)), fs::path(dir) / "LK.ini");
}

}  // namespace
}  // namespace lk::settings
