#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "commands/command_runner.h"
#include "commands/edit_commands.h"
#include "support/fake_platform.h"
#include "settings/settings_store.h"
#include "target_link/target_ui.h"
#include "temp_dir.h"

namespace lk::commands {
namespace {

using namespace std::chrono_literals;
using lk::testing::TempDir;
using lk::testing::WriteBytes;
using platform::FakePlatform;

using platform::BoxKind;
using platform::BoxStyle;

constexpr BoxStyle kFailed{};
constexpr BoxStyle kInvalid{BoxKind::kPlain, true};

std::string StyleText(BoxStyle style) {
  return std::to_string(static_cast<int>(style.kind)) + (style.systemModal ? "!" : "");
}

// "paste:<text>" or "say:<text>/<style>", so one comparison covers both halves.
std::string Show(const Outcome& outcome) {
  if (outcome.paste && outcome.message) return "both";
  if (outcome.paste) return "paste:" + *outcome.paste;
  if (outcome.message) return "say:" + outcome.message->text + "/" + StyleText(outcome.message->style);
  return "nothing";
}

std::string Said(const std::string& text, BoxStyle style) { return "say:" + text + "/" + StyleText(style); }

TEST(LeadingTrailingSwap, FactoryInsertions) {
  EXPECT_EQ(Show(LeadingTrailingSwap("ls", "l", "L")), "paste:sL");
  EXPECT_EQ(Show(LeadingTrailingSwap("sL", "l", "L")), "paste:ls");
  EXPECT_EQ(Show(LeadingTrailingSwap("  ls ", "l", "L")), "paste:sL");
  EXPECT_EQ(Show(LeadingTrailingSwap("lsL", "l", "L")), "paste:lls");
  EXPECT_EQ(Show(LeadingTrailingSwap("xs", "l", "L")), Said("Invalid Selection", kInvalid));
  EXPECT_EQ(Show(LeadingTrailingSwap("Ls", "l", "L")), Said("Invalid Selection", kInvalid));
}

TEST(LeadingTrailingSwap, NothingToWorkOnOrLongInsertions) {
  EXPECT_EQ(Show(LeadingTrailingSwap("   ", "l", "L")), Said("Failed to perform", kFailed));
  EXPECT_EQ(Show(LeadingTrailingSwap("ls", "", "L")), Said("Failed to perform", kFailed));
  EXPECT_EQ(Show(LeadingTrailingSwap("sL", "l", "")), Said("Failed to perform", kFailed));
  // A two-character insertion is compared with one character and never matches.
  EXPECT_EQ(Show(LeadingTrailingSwap("abs", "ab", "L")), Said("Invalid Selection", kInvalid));
}

TEST(LastCharacterSwap, FactoryInsertions) {
  EXPECT_EQ(Show(LastCharacterSwap("g'", "'", "\"")), "paste:g\"");
  EXPECT_EQ(Show(LastCharacterSwap("g\"", "'", "\"")), "paste:g'");
  EXPECT_EQ(Show(LastCharacterSwap(" g' ", "'", "\"")), "paste:g\"");
  EXPECT_EQ(Show(LastCharacterSwap("'", "'", "\"")), "paste:\"");
  EXPECT_EQ(Show(LastCharacterSwap("ga", "'", "\"")), Said("Invalid Selection", kInvalid));
  EXPECT_EQ(Show(LastCharacterSwap(" ", "'", "\"")), Said("Failed to perform", kFailed));
  EXPECT_EQ(Show(LastCharacterSwap("g'", "'", "")), Said("Failed to perform", kFailed));
}

TEST(Wrap, UntrimmedSelectionBetweenWholeInsertions) {
  EXPECT_EQ(Show(Wrap("g]kfn", "-", "_")), "paste:-g]kfn_");
  EXPECT_EQ(Show(Wrap(" x ", "-", "_")), "paste:- x _");
  EXPECT_EQ(Show(Wrap("ldq", "\xE6", "\xC6")), "paste:\xE6ldq\xC6");
  EXPECT_EQ(Show(Wrap("rfa]n", "\x85", "\xDA")), "paste:\x85rfa]n\xDA");
  EXPECT_EQ(Show(Wrap("x", "<<", ">>")), "paste:<<x>>");
  EXPECT_EQ(Show(Wrap("x", "", "_")), Said("Failed to perform", kFailed));
  EXPECT_EQ(Show(Wrap("x", "-", "")), Said("Failed to perform", kFailed));
}

TEST(WordSwap, OnlyTheFirstBlankSeparates) {
  EXPECT_EQ(Show(WordSwap("one two three")), "paste:two three one");
  EXPECT_EQ(Show(WordSwap("one ")), "paste: one");
  EXPECT_EQ(Show(WordSwap(" one two")), "paste:one two ");
  EXPECT_EQ(Show(WordSwap("a  b")), "paste:b a");
  EXPECT_EQ(Show(WordSwap("a\tb c")), "paste:c a\tb");
  EXPECT_EQ(Show(WordSwap("one")), Said("Select atleast two words to swap.", {BoxKind::kInformation}));
  EXPECT_EQ(Show(WordSwap("a\tb")), Said("Select atleast two words to swap.", {BoxKind::kInformation}));
}

TEST(Repeat, CountIsTheLeadingNumberRoundedHalfToEven) {
  EXPECT_EQ(Show(Repeat("=", "3")), "paste:===");
  EXPECT_EQ(Show(Repeat("=", "2.5")), "paste:==");
  EXPECT_EQ(Show(Repeat("=", "3.5")), "paste:====");
  EXPECT_EQ(Show(Repeat("=", "  3")), "paste:===");
  EXPECT_EQ(Show(Repeat("=", "4x")), "paste:====");
  EXPECT_EQ(Show(Repeat("ab", "2")), "paste:abab");
  for (const char* none : {"abc", "0", "-2", "0.5", ""}) EXPECT_EQ(Show(Repeat("=", none)), "paste:") << none;
  EXPECT_EQ(Show(Repeat("", "3")), Said("Failed to perform", kFailed));
}

TEST(Repeat, TextsTooLargeToPasteAreRefused) {
  const Outcome limit = Repeat("=", "1000000");
  ASSERT_TRUE(limit.paste.has_value());
  EXPECT_EQ(limit.paste->size(), 1000000u);
  EXPECT_EQ(Show(Repeat("=", "1000001")), Said("Failed to perform", kFailed));
  EXPECT_EQ(Show(Repeat("ab", "500001")), Said("Failed to perform", kFailed));
  EXPECT_EQ(Show(Repeat("=", "2147483648")), Said("Failed to perform", kFailed));
  EXPECT_EQ(Show(Repeat("=", std::string(400, '9'))), Said("Failed to perform", kFailed));
}

TEST(Repeat, CountBelowThe32BitRangeIsRefusedLikeOneAboveIt) {
  EXPECT_EQ(Show(Repeat("=", "-2147483649")), Said("Failed to perform", kFailed));
}

// The toolbar's side of a click.
class UiDouble : public target_link::TargetUi {
 public:
  std::string name = "Notepad";
  int opened = 0;
  std::string TargetName() override { return name; }
  void OpenSelectApplication() override { ++opened; }
};

class CommandRunnerTest : public ::testing::Test {
 protected:
  static constexpr platform::WindowHandle kNotepad = 10;

  CommandRunnerTest() : store_(dir_.ini()), runner_(fake_, store_, ui_) {
    fake_.windows[kNotepad] = {"Notepad", true, true};
    fake_.targets[kNotepad].selection = "g]kfn";
  }
  void Ini(const std::string& customize) { WriteBytes(dir_.ini(), "[Customize]\r\n" + customize); }
  std::vector<std::string> Pasted() { return fake_.targets[kNotepad].pasted; }
  std::string LkBox(const std::string& text, BoxStyle style) { return FakePlatform::BoxLine(text, style, "Lekhopakar"); }

  TempDir dir_;
  FakePlatform fake_;
  settings::SettingsStore store_;
  UiDouble ui_;
  CommandRunner runner_;
};

TEST_F(CommandRunnerTest, WrapPastesIntoTheTargetWithInsertionsReadAtEachClick) {
  Ini("in103=-\r\nin203=_\r\n");
  runner_.Run(3);
  Ini("in103=<\r\nin203=>\r\n");
  runner_.Run(3);
  EXPECT_EQ(Pasted(), (std::vector<std::string>{"-g]kfn_", "<g]kfn>"}));
  EXPECT_EQ(fake_.Count("MessageBox"), 0);
}

TEST_F(CommandRunnerTest, NothingSelectedNamesTheTargetAndPastesNothing) {
  Ini("in103=-\r\nin203=_\r\n");
  fake_.targets[kNotepad].selection = "";
  for (int button = 1; button <= 5; ++button) runner_.Run(button);
  runner_.Run(7);
  // Only the word swap leaves the box to our own windows.
  EXPECT_EQ(fake_.Count(LkBox("Failed to get text from Notepad\r\nPleas try again.", {BoxKind::kStop, true})), 5);
  EXPECT_EQ(fake_.Count(LkBox("Failed to get text from Notepad\r\nPleas try again.", {BoxKind::kStop})), 1);
  EXPECT_TRUE(Pasted().empty());
  EXPECT_EQ(fake_.targets[kNotepad].typed, "");
}

TEST_F(CommandRunnerTest, WordSwapAndInvalidSelectionGoThroughTheSameRoad) {
  fake_.targets[kNotepad].selection = "one two";
  runner_.Run(7);
  fake_.targets[kNotepad].selection = "xs";
  runner_.Run(1);  // factory insertions absent from the file: nothing to compare with
  EXPECT_EQ(Pasted(), std::vector<std::string>{"two one"});
  EXPECT_EQ(fake_.Count(LkBox("Failed to perform", {})), 1);
}

TEST_F(CommandRunnerTest, RepeatNeverCapturesAndNeedsACharacter) {
  Ini("Character==\r\n");  // the first '=' ends the key
  runner_.Run(6);
  Ini("Character==\r\nRepeat=3\r\n");
  runner_.Run(6);
  EXPECT_EQ(Pasted(), (std::vector<std::string>{"=", "==="}));
  for (const auto& stroke : fake_.StrokesTo(kNotepad)) EXPECT_NE(stroke.key, platform::Key::kC);

  Ini("Repeat=3\r\n");
  runner_.Run(6);
  Ini("Character=\r\nRepeat=3\r\n");
  runner_.Run(6);
  EXPECT_EQ(fake_.Count(LkBox("Failed to perform", {})), 2);
  EXPECT_EQ(Pasted().size(), 2u);
}

// With nothing of the user's on the clipboard the pasted text stays there;
// the same result again must still be pasted, and say nothing otherwise.
TEST_F(CommandRunnerTest, TheSameResultTwiceIsPastedTwice) {
  Ini("Character=-\r\nRepeat=2\r\nin101=l\r\nin201=L\r\n");
  runner_.Run(6);
  runner_.Run(6);
  fake_.targets[kNotepad].selection = "  ls ";
  runner_.Run(1);
  fake_.targets[kNotepad].selection = "ls";
  runner_.Run(1);
  EXPECT_EQ(Pasted(), (std::vector<std::string>{"--", "--", "sL", "sL"}));
  EXPECT_EQ(fake_.Count("MessageBox"), 0);
}

// Legacy glyph bytes above 127 travel as their Windows-1252 characters, both ways.
TEST_F(CommandRunnerTest, LegacyBytesAboveAsciiSurviveTheRoundTrip) {
  Ini("in104=\xE6\r\nin204=\xC6\r\n");
  fake_.targets[kNotepad].selection = "\xE2\x82\xAC\xC3\xA9";  // UTF-8 of the characters of codes 128 and 233
  runner_.Run(4);
  EXPECT_EQ(Pasted(), std::vector<std::string>{"\xC3\xA6\xE2\x82\xAC\xC3\xA9\xC3\x86"});
}

TEST_F(CommandRunnerTest, PasteTextNeedsTextThenATarget) {
  ui_.name = "";
  runner_.PasteText("");
  EXPECT_TRUE(fake_.calls.empty());
  EXPECT_EQ(ui_.opened, 0);

  runner_.PasteText("abc");
  EXPECT_EQ(fake_.Count("MessageBox [Please select the one of the running application"), 1);
  EXPECT_EQ(ui_.opened, 1);
  EXPECT_TRUE(Pasted().empty());

  ui_.name = "Notepad";
  runner_.PasteText("abc");
  EXPECT_EQ(Pasted(), std::vector<std::string>{"abc"});
}

// A button's copy and paste share one save of the user's clipboard: it is
// read once before the copy and put back once, after the paste, or before
// any message when there is nothing to paste.
TEST_F(CommandRunnerTest, AButtonSavesTheUsersClipboardOnceAndGivesItBackBeforeAnyMessage) {
  struct Row {
    int button;
    std::string selection;
    std::string pasted;  // empty: nothing pasted
    std::string box;     // empty: no message
  };
  const Row rows[] = {
      {3, "g]kfn", "-g]kfn_", ""},
      {1, "xs", "", LkBox("Invalid Selection", {BoxKind::kPlain, true})},
      {5, "g]kfn", "", LkBox("Failed to perform", {})},
      {3, "", "", LkBox("Failed to get text from Notepad\r\nPleas try again.", {BoxKind::kStop, true})},
  };
  Ini("in101=l\r\nin201=L\r\nin103=-\r\nin203=_\r\nin105=\r\n");
  const platform::ClipboardItem picture{8, "", {1, 2, 3}};
  for (const Row& row : rows) {
    SCOPED_TRACE("button " + std::to_string(row.button) + " on '" + row.selection + "'");
    fake_.calls.clear();
    fake_.clipboardAtBoxes.clear();
    fake_.targets[kNotepad].pasted.clear();
    fake_.clipboardSaves = fake_.clipboardRestores = 0;
    fake_.clipboardHasText = true;
    fake_.clipboardText = "user's";
    fake_.clipboardOther = {picture};
    fake_.targets[kNotepad].selection = row.selection;

    runner_.Run(row.button);

    EXPECT_EQ(Pasted(), row.pasted.empty() ? std::vector<std::string>{} : std::vector<std::string>{row.pasted});
    EXPECT_EQ(fake_.clipboardSaves, 1);
    EXPECT_EQ(fake_.clipboardRestores, 1);
    EXPECT_EQ(fake_.clipboardText, "user's");
    ASSERT_EQ(fake_.clipboardOther.size(), 1u);
    EXPECT_EQ(fake_.clipboardOther[0].bytes, picture.bytes);
    if (row.box.empty()) {
      EXPECT_EQ(fake_.Count("MessageBox"), 0);
    } else {
      EXPECT_EQ(fake_.Count(row.box), 1);
      EXPECT_EQ(fake_.clipboardAtBoxes, std::vector<std::string>{"user's"});
    }
  }
}

// Whatever the command, a clipboard the target kept open is told to the user
// once, and only then.
TEST_F(CommandRunnerTest, AClipboardNotGivenBackIsToldToTheUser) {
  const std::string told = "MessageBox [Your clipboard could not be given back: another program kept it open.]";
  fake_.clipboardHasText = true;
  fake_.clipboardText = "user's";
  runner_.PasteText("abc");
  EXPECT_EQ(fake_.Count(told), 0);

  fake_.targets[kNotepad].holdsClipboard = true;
  runner_.PasteText("abc");
  EXPECT_EQ(Pasted(), (std::vector<std::string>{"abc", "abc"}));
  EXPECT_EQ(fake_.Count(told), 1);

  // Held before we began: untouched, so nothing to tell but that no paste happened.
  fake_.clipboardLocked = true;
  runner_.PasteText("abc");
  EXPECT_EQ(Pasted().size(), 2u);
  EXPECT_EQ(fake_.Count(told), 1);
}

}  // namespace
}  // namespace lk::commands
