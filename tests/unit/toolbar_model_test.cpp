#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "commands/assign.h"
#include "temp_dir.h"
#include "ui/toolbar/about_text.h"
#include "ui/toolbar/placement.h"
#include "ui/toolbar/toolbar_layout.h"
#include "ui/toolbar/toolbar_lifecycle.h"

namespace lk::ui::toolbar {
namespace {

using lk::testing::Lines;
using lk::testing::ReadBytes;
using lk::testing::TempDir;
using lk::testing::WriteBytes;
using settings::SettingsStore;


bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(Placement, StoredCornerDefaultsAndBlankedNumbers) {
  TempDir dir;
  SettingsStore store(dir.ini());
  Placement placement;
  EXPECT_EQ(placement.StoredCorner(store).x, 0);
  EXPECT_EQ(placement.StoredCorner(store).y, 300);

  WriteBytes(dir.ini(), "[WinPos]\r\nLeft= 120\r\nTop= 45\r\n");
  const auto corner = placement.StoredCorner(store);
  EXPECT_EQ(corner.x, 120);
  EXPECT_EQ(corner.y, 45);
}

TEST(Placement, LeftThatIsNoNumberKeepsThePreviousXWhileTopFallsToZero) {
  TempDir dir;
  SettingsStore store(dir.ini());
  WriteBytes(dir.ini(), "[WinPos]\r\nLeft=abc\r\nTop=xyz\r\n");
  Placement first;
  EXPECT_EQ(first.StoredCorner(store).x, 0);

  Placement later;
  WriteBytes(dir.ini(), "[WinPos]\r\nLeft= 120\r\nTop= 45\r\n");
  later.StoredCorner(store);
  WriteBytes(dir.ini(), "[WinPos]\r\nLeft=abc\r\nTop=xyz\r\n");
  const auto corner = later.StoredCorner(store);
  EXPECT_EQ(corner.x, 120);
  EXPECT_EQ(corner.y, 0);
}

TEST(Placement, PositionTextClampsBareAndPrefixesABlankInsideTheRange) {
  EXPECT_EQ(PositionText(-8, kMaxLeft), "0");
  EXPECT_EQ(PositionText(900, kMaxTop), "400");
  EXPECT_EQ(PositionText(601, kMaxLeft), "600");
  EXPECT_EQ(PositionText(600, kMaxLeft), " 600");
  EXPECT_EQ(PositionText(120, kMaxLeft), " 120");
  EXPECT_EQ(PositionText(0, kMaxLeft), " 0");
}

TEST(SavePosition, WritesTheClampedOrBlankedCorner) {
  struct Case {
    Corner corner;
    const char* left;
    const char* top;
  };
  for (const Case& c : {Case{{-8, 900}, "Left=0", "Top=400"}, Case{{120, 45}, "Left= 120", "Top= 45"}}) {
    TempDir dir;
    SettingsStore store(dir.ini());
    EXPECT_TRUE(SavePosition(c.corner, store));
    const auto lines = Lines(ReadBytes(dir.ini()));
    EXPECT_TRUE(HasLine(lines, c.left)) << c.left;
    EXPECT_TRUE(HasLine(lines, c.top)) << c.top;
  }
}

TEST(SaveOnClose, WithoutAWindowCornerKeepsThePositionButStillSavesTheFont) {
  TempDir dir;
  SettingsStore store(dir.ini());
  WriteBytes(dir.ini(), "[WinPos]\r\nLeft= 5\r\nTop= 6\r\n[Font]\r\nLastFont=Preeti\r\n");
  EXPECT_TRUE(SaveOnClose(std::nullopt, store, ""));
  const auto lines = Lines(ReadBytes(dir.ini()));
  EXPECT_TRUE(HasLine(lines, "Left= 5"));
  EXPECT_TRUE(HasLine(lines, "Top= 6"));
  EXPECT_TRUE(HasLine(lines, "LastFont="));
  EXPECT_FALSE(FontToReselect(store).has_value());
}

TEST(SaveOnClose, SavesPositionThenFont) {
  TempDir dir;
  SettingsStore store(dir.ini());
  EXPECT_TRUE(SaveOnClose(Corner{10, 20}, store, "Kantipur"));
  auto lines = Lines(ReadBytes(dir.ini()));
  lines.erase(std::remove(lines.begin(), lines.end(), ""), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{"[WinPos]", "Left= 10", "Top= 20", "[Font]", "LastFont=Kantipur"}));
}

TEST(SaveOnClose, AFailedWriteIsReported) {
  TempDir dir;
  SettingsStore store(dir.path() / "gone" / "LK.ini");  // a folder that does not exist
  EXPECT_FALSE(SaveOnClose(Corner{10, 20}, store, "Kantipur"));
  EXPECT_FALSE(SavePosition(Corner{10, 20}, store));
}

TEST(FontToReselect, DefaultEmptyAndLongNames) {
  TempDir dir;
  SettingsStore store(dir.ini());
  EXPECT_EQ(FontToReselect(store), "Arial");
  ASSERT_TRUE(store.Write("Font", "LastFont", ""));
  EXPECT_EQ(FontToReselect(store), std::nullopt);
  const std::string longName(60, 'F');
  ASSERT_TRUE(store.Write("Font", "LastFont", longName));
  EXPECT_EQ(FontToReselect(store), longName.substr(0, 49));
  // Devanagari takes three bytes a letter: 16 of them fill 48 bytes, and the
  // 17th would be cut after its first.
  std::string devanagari;
  for (int i = 0; i < 20; ++i) devanagari += "\u0915";
  ASSERT_TRUE(store.Write("Font", "LastFont", devanagari));
  EXPECT_EQ(FontToReselect(store), devanagari.substr(0, 48));
}

TEST(ButtonLabels, FactoryLabelsWithoutAFile) {
  TempDir dir;
  const auto labels = commands::ReadButtonLabels(SettingsStore(dir.ini()));
  const char* captions[] = {"Ll", "'\"", "-/_", "\xE6/\xC6", "\x85/\xDA", "-"};
  for (int i = 0; i < commands::kCustomSlots; ++i) {
    EXPECT_EQ(labels[i].caption, captions[i]) << "slot " << i + 1;
    EXPECT_EQ(labels[i].tooltip, "...") << "slot " << i + 1;
  }
}

TEST(ButtonLabels, SlotSixShowsCharacterNeverCap06AndPresentEmptyStaysEmpty) {
  TempDir dir;
  WriteBytes(dir.ini(), "[Customize]\r\nCharacter==\r\ncap06=NO\r\nttt06=  Dot Dot Dot  \r\ncap01=\r\n");
  const auto labels = commands::ReadButtonLabels(SettingsStore(dir.ini()));
  EXPECT_EQ(labels[5].caption, "=");
  EXPECT_EQ(labels[5].tooltip, "Dot Dot Dot");
  EXPECT_EQ(labels[0].caption, "");
  EXPECT_EQ(labels[0].tooltip, "...");
  EXPECT_EQ(commands::SlotKey("in1", 5), "in105");
  EXPECT_EQ(commands::SlotKey("ttt", 6), "ttt06");
}

int LeadingBlanks(std::string_view s) { return static_cast<int>(s.find_first_not_of(' ')); }
int TrailingBlanks(std::string_view s) { return static_cast<int>(s.size() - 1 - s.find_last_not_of(' ')); }

TEST(AboutText, TwentyOneLinesExactlyAsLaidOut) {
  const std::string text = AboutText();
  ASSERT_GE(text.size(), 2u);
  EXPECT_NE(text.substr(text.size() - 2), "\r\n");
  std::vector<std::string> lines;
  for (std::size_t pos = 0;;) {
    const auto end = text.find("\r\n", pos);
    lines.push_back(text.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
    if (end == std::string::npos) break;
    pos = end + 2;
  }
  ASSERT_EQ(lines.size(), 21u);
  for (const auto& line : lines) EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
  const std::string separator(26, '-');
  EXPECT_EQ(lines[0], " A Gift Form");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], std::string(18, ' ') + "LEKHOPAKAR");
  EXPECT_EQ(lines[4], std::string(65, ' ') + "To all Nepali Font users");
  for (int n : {6, 8, 11, 14, 18}) EXPECT_EQ(lines[n - 1], separator) << "line " << n;
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[8], "[Legal Disclaimer]");
  EXPECT_EQ(lines[9].size(), 316u);
  EXPECT_EQ(lines[11], "Right Click on text button to Enlarge ");
  EXPECT_EQ(lines[12], "Right click on it to Hide, Drag to move");
  EXPECT_EQ(lines[18], "");
  EXPECT_EQ(lines[19], "You can download this software from");
  for (int n : {4, 15, 16, 17, 21}) EXPECT_FALSE(lines[n - 1].empty()) << "credit line " << n;
  EXPECT_EQ(AboutText(), text);
}

TEST(ToolbarLayout, KeypadHoldsEveryIndexOnceInOverlappingKeys) {
  std::set<int> seen;
  for (int r = 0; r < kKeyRows; ++r)
    for (int c = 0; c < kKeyColumns; ++c) {
      const int index = KeyIndexAt(r, c);
      EXPECT_TRUE(index >= 0 && index < kKeyCount) << r << "," << c;
      EXPECT_TRUE(seen.insert(index).second) << "index " << index << " twice";
      const auto key = KeyRect(r, c);
      EXPECT_EQ(key.width, 315);
      EXPECT_EQ(key.height, 405);
      if (c + 1 < kKeyColumns) {
        EXPECT_EQ(key.left + key.width - KeyRect(r, c + 1).left, 15);
      }
      if (r + 1 < kKeyRows) {
        EXPECT_EQ(key.top + key.height - KeyRect(r + 1, c).top, 15);
      }
    }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kKeyCount));
  EXPECT_EQ(KeyIndexAt(0, 0), 1);
  EXPECT_EQ(KeyIndexAt(6, 31), 0);
  EXPECT_EQ(KeyRect(0, 0).left, 75);
  EXPECT_EQ(KeyRect(6, 0).top, 2340);
  // Keyboard order: q w e r t y opens row 1, a s d f row 2, z x c v row 3 (index = code - 32).
  EXPECT_EQ(std::string({char(KeyIndexAt(1, 0) + 32), char(KeyIndexAt(1, 1) + 32), char(KeyIndexAt(1, 2) + 32)}),
            "qwe");
  EXPECT_EQ(std::string({char(KeyIndexAt(2, 0) + 32), char(KeyIndexAt(3, 0) + 32)}), "az");
}

TEST(ToolbarLayout, StripTooltipsKeepTheirBlanks) {
  struct Expected {
    int id;
    std::string_view tooltip;
    int leading;
    int trailing;
  };
  const Expected expected[] = {
      {id::kLogo, "   <(;-)  ", 3, 2},
      {id::kCommand7, "   Swaps the first word in selection with the remaining words   ", 3, 3},
      {id::kCommand10, "  Customize Buttons...     ", 2, 5},
      {id::kTargetField, "  Double click here to change or refresh the application list  ", 2, 2},
      {id::kQuickText, "  Paste text here and  Hit Enter to Add   ", 2, 3},
      {id::kMarker, "  Click to insert the text in yellow    ", 2, 4},
  };
  for (const auto& e : expected) {
    const auto& tooltip = Control(e.id).tooltip;
    EXPECT_EQ(tooltip, e.tooltip) << e.id;
    EXPECT_EQ(LeadingBlanks(tooltip), e.leading) << e.id;
    EXPECT_EQ(TrailingBlanks(tooltip), e.trailing) << e.id;
  }
  EXPECT_NE(Control(id::kQuickText).tooltip.find("and  Hit"), std::string_view::npos);
  EXPECT_EQ(kPanelTooltip, "    Drag to move    Rt Click to hide    ");
  for (int id : {101, 102, 103, 104, 105, 106, id::kFonts}) EXPECT_EQ(Control(id).tooltip, "") << id;
  EXPECT_EQ(Control(id::kCommand7).caption, "tr");
  EXPECT_EQ(Control(id::kCommand10).caption, "C");
  EXPECT_TRUE(Control(id::kCommand10).bold);
  EXPECT_THROW(Control(108), std::out_of_range);
}

TEST(ToolbarLayout, StripButtonsOverlapTheirNeighboursBy15Twips) {
  const int buttons[] = {101, 102, 103, 104, 105, 106, id::kCommand7, id::kCommand10};
  for (std::size_t i = 0; i + 1 < std::size(buttons); ++i) {
    const auto a = Control(buttons[i]).rect;
    const auto b = Control(buttons[i + 1]).rect;
    EXPECT_EQ(a.left + a.width - b.left, 15) << buttons[i];
    EXPECT_EQ(a.top, b.top);
  }
  // The target field and the quick-text box overlap, yet each keeps an end uncovered.
  const auto field = Control(id::kTargetField).rect;
  const auto quick = Control(id::kQuickText).rect;
  EXPECT_LT(field.left, quick.left);
  EXPECT_GT(field.left + field.width, quick.left);
  EXPECT_GT(quick.left + quick.width, field.left + field.width);
}

}  // namespace
}  // namespace lk::ui::toolbar
