// Selections that come with their "Rich Text Format": converted run by run
// and offered back as RTF beside plain text made from the same runs, while
// selections without it, and Excel's, take the plain road as before.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "commands/command_runner.h"
#include "commands/convert_selection.h"
#include "settings/settings_store.h"
#include "support/fake_platform.h"
#include "target_link/target_ui.h"
#include "temp_dir.h"

namespace lk::commands {
namespace {

using convert::Direction;
using lk::testing::TempDir;
using platform::ClipboardItem;
using platform::FakePlatform;
using platform::WindowHandle;

// As Wine's RichEdit copies a bold Preeti word, an English word in Arial
// and a plain Preeti word.
std::string WordpadRtf(const std::string& legacyFont, const std::string& first, const std::string& second) {
  return "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0\\deflang1033\\deflangfe1033{\\fonttbl{\\f0\\fcharset0 " +
         legacyFont + ";}{\\f1\\fcharset0 Arial;}{\\f2\\fcharset0 System;}}\r\n{\\colortbl;}\r\n" +
         "{\\*\\generator Wine Riched20 2.0;}\r\n\\pard\\sl-240\\slmult1 \\b\\lang1033\\fs18\\f0 " + first +
         "\\b0\\f1  Hello \\f0 " + second + "\\b\\f2 \\par\r\n}";
}
const std::string kLegacyRtf = WordpadRtf("Preeti", "g]kfn", ";/sf/");
const std::string kUnicodeRtf =
    WordpadRtf("Nirmala UI", "\\u2344?\\u2375?\\u2346?\\u2366?\\u2354?", "\\u2360?\\u2352?\\u2325?\\u2366?\\u2352?");

ClipboardItem Item(const std::string& name, const std::string& bytes) {
  return {0xC100, name, {bytes.begin(), bytes.end()}};
}
ClipboardItem Rtf(const std::string& rtf) { return Item("Rich Text Format", rtf); }
ClipboardItem Html(const std::string& html) { return Item("HTML Format", html); }

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class FieldDouble : public target_link::TargetUi {
 public:
  std::string TargetName() override { return "Document - Wordpad"; }
  void OpenSelectApplication() override {}
};

class RichConvertTest : public ::testing::Test {
 protected:
  static constexpr WindowHandle kWordpad = 10;  // a RichEdit, asked by message
  static constexpr WindowHandle kWord = 20;     // keys only
  static constexpr WindowHandle kExcel = 30;

  RichConvertTest() : store_(dir_.ini()), runner_(fake_, store_, field_) {
    fake_.windows[kWordpad] = {"Document - Wordpad", true, true, "WordPadClass"};
    fake_.targets[kWordpad].edit = 11;
    fake_.windows[kWord] = {"Document1 - Word", true, true, "OpusApp"};
    fake_.targets[kWord];
    fake_.windows[kExcel] = {"Book1 - Excel", true, true, "XLMAIN"};
    fake_.targets[kExcel];
    fake_.runningOffice[platform::OfficeApplication::kWord] = "Times New Roman";
    fake_.runningOffice[platform::OfficeApplication::kExcel] = "Calibri";
    // The user's clipboard: text, their own rich text and a picture.
    fake_.clipboardHasText = true;
    fake_.clipboardText = "the user's text";
    fake_.clipboardOther = {Rtf("{\\rtf1 the user's rich text}"), Item("PNG", "\x89PNG pixels")};
  }

  void Select(WindowHandle window, const std::string& text, std::vector<ClipboardItem> formats) {
    fake_.targets[window].selection = text;
    fake_.targets[window].selectionFormats = std::move(formats);
  }
  void ExpectUsersClipboardBack() {
    EXPECT_EQ(fake_.clipboardText, "the user's text");
    ASSERT_EQ(fake_.clipboardOther.size(), 2u);
    EXPECT_EQ(fake_.ClipboardRtf(), "{\\rtf1 the user's rich text}");
    EXPECT_EQ(fake_.clipboardOther[1].name, "PNG");
  }
  std::string Box(const std::string& text) {
    return FakePlatform::BoxLine(text, {platform::BoxKind::kInformation}, "Lekhopakar");
  }

  TempDir dir_;
  FakePlatform fake_;
  settings::SettingsStore store_;
  FieldDouble field_;
  CommandRunner runner_;
};

TEST_F(RichConvertTest, RichTextGoesBackConvertedRunByRunBothWays) {
  const struct {
    Direction direction;
    std::string selection;
    std::string rtf;
    std::string plain;       // offered beside the rich text
    std::string convertedRun;  // in the offered rich text
    std::string newFont;     // added to its font table
  } rows[] = {
      {Direction::kToUnicode, "g]kfn Hello ;/sf/", kLegacyRtf, "नेपाल Hello सरकार",
       "\\u2344?\\u2375?\\u2346?\\u2366?\\u2354?", "Nirmala UI"},
      {Direction::kToLegacy, "नेपाल Hello सरकार", kUnicodeRtf, "g]kfn Hello ;/sf/", "g]kfn", "Preeti"},
  };
  for (const auto& row : rows) {
    auto& target = fake_.targets[kWordpad];
    target.pasted.clear();
    target.pastedRtf.clear();
    Select(kWordpad, row.selection, {Rtf(row.rtf), Html("<b>html</b>")});
    runner_.ConvertWindow(kWordpad, row.direction, "");
    ASSERT_EQ(target.pasted, std::vector<std::string>{row.plain}) << row.selection;
    const std::string& rtf = target.pastedRtf.front();
    EXPECT_TRUE(Holds(rtf, row.convertedRun)) << rtf;
    EXPECT_TRUE(Holds(rtf, "\\fcharset0 " + row.newFont + ";}}")) << rtf;
    // The English word keeps its run, font and all.
    EXPECT_TRUE(Holds(rtf, "\\b0\\f1  Hello ")) << rtf;
    EXPECT_EQ(fake_.Count("MessageBox"), 0);
    ExpectUsersClipboardBack();
  }
}

// Word's font switch would give the English word the Nepali font; it is sent
// only where the selection went back as plain text.
TEST_F(RichConvertTest, WordGetsNoFontSwitchWhenRichTextWentBack) {
  Select(kWord, "g]kfn Hello ;/sf/", {Rtf(kLegacyRtf)});
  runner_.ConvertWindow(kWord, Direction::kToUnicode, "");
  EXPECT_EQ(fake_.targets[kWord].pasted, std::vector<std::string>{"नेपाल Hello सरकार"});
  EXPECT_EQ(fake_.Count("Automation"), 0);
  EXPECT_EQ(fake_.runningOffice[platform::OfficeApplication::kWord], "Times New Roman");

  Select(kWord, "g]kfn", {Html("<p>g]kfn</p>")});
  runner_.ConvertWindow(kWord, Direction::kToUnicode, "");
  EXPECT_EQ(fake_.targets[kWord].pastedRtf.back(), "");
  EXPECT_EQ(fake_.Count("Automation Word Nirmala UI"), 1);
}

// Without rich text, with only HTML, with rich text that is no RTF, and in
// Excel, the selection is converted as plain text, as it always was.
TEST_F(RichConvertTest, OtherSelectionsTakeThePlainRoad) {
  const struct {
    WindowHandle window;
    std::vector<ClipboardItem> formats;
    const char* what;
  } rows[] = {
      {kWordpad, {}, "no rich text"},
      {kWordpad, {Html("<b>g]kfn</b> Hello")}, "HTML only"},
      {kWordpad, {Rtf("not rich text at all")}, "not RTF"},
      {kExcel, {Rtf(kLegacyRtf)}, "Excel"},
  };
  for (const auto& row : rows) {
    auto& target = fake_.targets[row.window];
    target.pasted.clear();
    target.pastedRtf.clear();
    Select(row.window, "g]kfn Hello", row.formats);
    runner_.ConvertWindow(row.window, Direction::kToUnicode, "");
    // Plain conversion takes the English word for Preeti too.
    EXPECT_EQ(target.pasted, std::vector<std::string>{"नेपाल ज्भयि"}) << row.what;
    EXPECT_EQ(target.pastedRtf, std::vector<std::string>{""}) << row.what;
    ExpectUsersClipboardBack();
  }
  EXPECT_EQ(fake_.Count("Automation Excel Nirmala UI"), 1);
}

// The messages look at the runs that would change: English in Arial is no
// sign of Unicode text, nor Preeti's letters of legacy text elsewhere.
TEST_F(RichConvertTest, MessagesLookAtTheRunsThatWouldChange) {
  const std::string preetiAndUnicode =
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Preeti;}{\\f1 Nirmala UI;}}\\f1 \\u2344?\\u2375? \\f0 ;/sf/}";
  const struct {
    Direction direction;
    std::string rtf;
    std::string message;  // empty: converted without a word
    std::string plain;    // empty: nothing pasted
  } rows[] = {
      {Direction::kToUnicode, WordpadRtf("Arial", "Nepal", "Kathmandu"),
       "The selection holds no text in a legacy font.", ""},
      {Direction::kToUnicode, kUnicodeRtf, "The selection is already Unicode text.", ""},
      {Direction::kToLegacy, kLegacyRtf, "The selection holds no Unicode Devanagari.", ""},
      // As plain text this reads as Unicode throughout; its Preeti run is converted.
      {Direction::kToUnicode, preetiAndUnicode, "", "ने सरकार"},
      // Only the Devanagari converts to legacy: the brackets around it are no failures.
      {Direction::kToLegacy, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 (\\u2344?\\u2375?)}", "", "(g])"},
      // One code Preeti draws nothing at, inside a Preeti run.
      {Direction::kToUnicode, "{\\rtf1\\ansi{\\fonttbl{\\f0 Preeti;}}\\f0 g]kfn\\'81}",
       "1 character had no equivalent and was left as it was.", "नेपाल\xC2\x81"},
  };
  for (const auto& row : rows) {
    fake_.calls.clear();
    auto& target = fake_.targets[kWordpad];
    target.pasted.clear();
    Select(kWordpad, "selected", {Rtf(row.rtf)});
    runner_.ConvertWindow(kWordpad, row.direction, "");
    if (row.plain.empty())
      EXPECT_TRUE(target.pasted.empty()) << row.rtf;
    else
      EXPECT_EQ(target.pasted, std::vector<std::string>{row.plain}) << row.rtf;
    if (row.message.empty())
      EXPECT_EQ(fake_.Count("MessageBox"), 0) << row.rtf;
    else
      EXPECT_EQ(fake_.Count(Box(row.message)), 1) << row.rtf;
    ExpectUsersClipboardBack();
  }
}

// A rich offer is sized with its rich text: a short text beside a long RTF
// is still rendered when asked for.
TEST_F(RichConvertTest, ALongRichTextIsRenderedOnRequest) {
  std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Preeti;}{\\f1 Arial;}}\\f0 g]kfn{\\f1{\\*\\bkmkstart ";
  rtf += std::string(70 * 1024, 'x') + "}}}";
  Select(kWordpad, "g]kfn", {Rtf(rtf)});
  runner_.ConvertWindow(kWordpad, Direction::kToUnicode, "");
  EXPECT_EQ(fake_.targets[kWordpad].pasted, std::vector<std::string>{"नेपाल"});
  EXPECT_EQ(fake_.offerRendering, platform::Rendering::kOnRequest);
  ExpectUsersClipboardBack();
}

// \par control words, not "\pard" nor the text "\par".
int ParagraphMarks(const std::string& rtf) {
  int marks = 0;
  for (std::size_t at = rtf.find("\\par"); at != std::string::npos; at = rtf.find("\\par", at + 1)) {
    const bool escaped = at > 0 && rtf[at - 1] == '\\';
    const bool longer = at + 4 < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[at + 4]));
    if (!escaped && !longer) ++marks;
  }
  return marks;
}

// RichEdit's RTF of a selection reaching the document's end carries its last
// paragraph mark, which the plain text beside it does not: pasted back, it
// would add an empty paragraph at every conversion.
TEST(RichSelection, AParagraphMarkThePlainTextLacksIsNotPastedBack) {
  const std::string head = "{\\rtf1\\ansi{\\fonttbl{\\f0 Preeti;}{\\f1 Arial;}}\\pard\\f0 g]kfn";
  const struct {
    std::string tail;
    std::string selection;
    int marks;  // left in the rich text
    std::string plain;
  } rows[] = {
      {"\\b\\f2 \\par\r\n}", "g]kfn", 0, "नेपाल"},
      {"\\par}", "g]kfn", 0, "नेपाल"},
      {"\\par}", "g]kfn\r\n", 1, "नेपाल\r\n"},            // the selection did end with a line break
      {"\\par ;/sf/}", "g]kfn\r\n;/sf/", 1, "नेपाल\r\nसरकार"},  // a mark between paragraphs
      {"\\pard}", "g]kfn", 0, "नेपाल"},                    // no paragraph mark at all
      {"\\par\\f1 a\\\\par}", "g]kfn\r\na\\par", 1, "नेपाल\r\na\\par"},  // the text "\par" last
  };
  for (const auto& row : rows) {
    const auto outcome =
        ConvertRichSelection(head + row.tail, row.selection, Direction::kToUnicode, convert::LegacyFont::kPreeti,
                             "Nirmala UI");
    ASSERT_TRUE(outcome && outcome->pasteRtf && outcome->paste) << row.tail;
    EXPECT_EQ(ParagraphMarks(*outcome->pasteRtf), row.marks) << row.tail << " gave " << *outcome->pasteRtf;
    EXPECT_EQ(*outcome->paste, row.plain) << row.tail;
  }
}

}  // namespace
}  // namespace lk::commands
