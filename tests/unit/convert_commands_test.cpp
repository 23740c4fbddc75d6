// "Selection to Unicode" and "Selection to legacy font" on the scripted
// platform: the right window is converted, the user is told what happened,
// and Word or Excel get the new font only when it was their window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/command_runner.h"
#include "support/fake_platform.h"
#include "settings/settings_store.h"
#include "target_link/target_ui.h"
#include "temp_dir.h"

namespace lk::commands {
namespace {

using convert::Direction;
using lk::testing::TempDir;
using platform::FakePlatform;

class FieldDouble : public target_link::TargetUi {
 public:
  std::string name = "notes.txt - Notepad";
  std::string TargetName() override { return name; }
  void OpenSelectApplication() override {}
};

class ConvertCommandTest : public ::testing::Test {
 protected:
  static constexpr platform::WindowHandle kNotepad = 10;
  static constexpr platform::WindowHandle kWord = 20;

  ConvertCommandTest() : store_(dir_.ini()), runner_(fake_, store_, field_) {
    fake_.windows[kNotepad] = {"notes.txt - Notepad", true, true};
    fake_.targets[kNotepad].edit = 11;  // a standard edit control, asked by message
    fake_.windows[kWord] = {"Document1 - Word", true, true, "OpusApp"};
    fake_.targets[kWord];  // a custom control: the shortcuts go as keys
    fake_.runningOffice[platform::OfficeApplication::kWord] = "Times New Roman";
  }
  std::vector<std::string> Pasted(platform::WindowHandle window) { return fake_.targets[window].pasted; }
  std::string Box(const std::string& text, platform::BoxStyle style) {
    return platform::FakePlatform::BoxLine(text, style, "Lekhopakar");
  }

  TempDir dir_;
  FakePlatform fake_;
  settings::SettingsStore store_;
  FieldDouble field_;
  CommandRunner runner_;
};

TEST_F(ConvertCommandTest, FromTheMenuTheTargetFieldsWindowIsConvertedBothWays) {
  fake_.targets[kNotepad].selection = "g]kfn ;/sf/";
  runner_.ConvertTarget(Direction::kToUnicode, "Arial");
  fake_.targets[kNotepad].selection = "नेपाल सरकार";
  runner_.ConvertTarget(Direction::kToLegacy, "Arial");
  EXPECT_EQ(Pasted(kNotepad), (std::vector<std::string>{"नेपाल सरकार", "g]kfn ;/sf/"}));
  EXPECT_EQ(fake_.Count("MessageBox"), 0);
  EXPECT_EQ(fake_.Count("Automation"), 0);  // notepad is no Office window
  EXPECT_TRUE(fake_.KeysDown().empty());
}

TEST_F(ConvertCommandTest, AHotkeyConvertsTheWindowInFrontNotTheTargetField) {
  fake_.targets[kNotepad].selection = "g]kfn";
  fake_.targets[kWord].selection = "lxdfn";
  fake_.foreground = kWord;
  runner_.ConvertWindow(kWord, Direction::kToUnicode, "");
  EXPECT_EQ(Pasted(kWord), std::vector<std::string>{"हिमाल"});
  EXPECT_TRUE(Pasted(kNotepad).empty());
  EXPECT_EQ(fake_.KeysTo(kNotepad), 0);
  EXPECT_TRUE(fake_.KeysDown().empty());
}

TEST_F(ConvertCommandTest, WordGetsTheFontOfTheNewForm) {
  fake_.targets[kWord].selection = "g]kfn";
  runner_.ConvertWindow(kWord, Direction::kToUnicode, "Preeti");
  EXPECT_EQ(fake_.runningOffice[platform::OfficeApplication::kWord], "Nirmala UI");
  fake_.targets[kWord].selection = "नेपाल";
  runner_.ConvertWindow(kWord, Direction::kToLegacy, "kantipur");
  EXPECT_EQ(Pasted(kWord), (std::vector<std::string>{"नेपाल", "g]kfn"}));
  EXPECT_EQ(fake_.runningOffice[platform::OfficeApplication::kWord], "Kantipur");
  EXPECT_EQ(fake_.Count("Automation Word"), 2);
  EXPECT_EQ(fake_.Count("Automation Excel"), 0);
}

TEST_F(ConvertCommandTest, ExcelIsReachedThroughItsOwnClassAndAWordThatIsNotRunningIsSkipped) {
  fake_.windows[kWord].className = "XLMAIN";
  fake_.targets[kWord].selection = "g]kfn";
  ASSERT_TRUE(store_.Write("Convert", "UnicodeFont", "Mangal"));
  runner_.ConvertWindow(kWord, Direction::kToUnicode, "");
  EXPECT_EQ(fake_.Count("Automation Excel Mangal"), 1);
  EXPECT_EQ(fake_.Count("MessageBox"), 0);  // nothing running there: silently skipped
  EXPECT_EQ(Pasted(kWord), std::vector<std::string>{"नेपाल"});
}

TEST_F(ConvertCommandTest, TextAlreadyConvertedIsNotPasted) {
  fake_.targets[kNotepad].selection = "नेपाल";
  runner_.ConvertTarget(Direction::kToUnicode, "");
  fake_.targets[kNotepad].selection = "g]kfn";
  runner_.ConvertTarget(Direction::kToLegacy, "");
  EXPECT_TRUE(Pasted(kNotepad).empty());
  EXPECT_EQ(fake_.Count(Box("The selection is already Unicode text.", {platform::BoxKind::kInformation})), 1);
  EXPECT_EQ(fake_.Count(Box("The selection holds no Unicode Devanagari.", {platform::BoxKind::kInformation})), 1);
}

TEST_F(ConvertCommandTest, NothingSelectedNamesTheWindow) {
  fake_.targets[kWord].selection = "";
  runner_.ConvertWindow(kWord, Direction::kToUnicode, "");
  EXPECT_EQ(fake_.Count(Box("Failed to get text from Document1 - Word\r\nPleas try again.", {platform::BoxKind::kStop, true})), 1);
  EXPECT_EQ(fake_.Count("Automation"), 0);
  EXPECT_TRUE(Pasted(kWord).empty());
}

TEST_F(ConvertCommandTest, CharactersWithoutEquivalentAreCountedAfterThePaste) {
  fake_.targets[kWord].selection = "नेपाल (Nepal)";
  runner_.ConvertWindow(kWord, Direction::kToLegacy, "");
  EXPECT_EQ(Pasted(kWord), std::vector<std::string>{"g]kfn -Nepal_"});
  EXPECT_EQ(fake_.Count(Box("5 characters had no equivalent and were left as they were.", {platform::BoxKind::kInformation})), 1);
  // The font is set first: the message must not stand between the paste and it.
  ASSERT_GE(fake_.calls.size(), 2u);
  EXPECT_EQ(fake_.calls.back().rfind("MessageBox", 0), 0u);
}

TEST_F(ConvertCommandTest, TheLegacyFamilyComesFromTheSettingWhenTheListHoldsAnother) {
  ASSERT_TRUE(store_.Write("Convert", "LegacyFont", "PCS NEPALI"));
  fake_.targets[kNotepad].selection = "२०७९";
  runner_.ConvertTarget(Direction::kToLegacy, "Arial");
  fake_.targets[kNotepad].selection = "२०७९";
  runner_.ConvertTarget(Direction::kToLegacy, "Preeti");
  EXPECT_EQ(Pasted(kNotepad), (std::vector<std::string>{"2079", "@)&("}));
}

}  // namespace
}  // namespace lk::commands
