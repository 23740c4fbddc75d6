#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "commands/assign.h"
#include "layout_rules.h"
#include "support/fake_platform.h"
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

// The toolbar starts in the last font only when it is installed, spelt as
// the font list spells it; the default names one too.
TEST(StartFont, TheLastFontWhenInstalledAsTheListSpellsIt) {
  TempDir dir;
  SettingsStore store(dir.ini());
  platform::FakePlatform fake;
  fake.fonts = {"DejaVu Sans", "Lekhopakar Test Legacy", "Arial"};
  EXPECT_EQ(StartFont(store, fake), "Arial");
  ASSERT_TRUE(store.Write("Font", "LastFont", "lekhopakar test LEGACY"));
  EXPECT_EQ(StartFont(store, fake), "Lekhopakar Test Legacy");
  ASSERT_TRUE(store.Write("Font", "LastFont", "Lekhopakar Test"));  // a leading part is another family
  EXPECT_EQ(StartFont(store, fake), std::nullopt);
  ASSERT_TRUE(store.Write("Font", "LastFont", ""));
  EXPECT_EQ(StartFont(store, fake), std::nullopt);
  fake.fonts.clear();
  ASSERT_TRUE(store.Write("Font", "LastFont", "DejaVu Sans"));
  EXPECT_EQ(StartFont(store, fake), std::nullopt);
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

TEST(AboutText, TwentyOneLinesWithSeparatorsBlanksAndTheDisclaimerInPlace) {
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
  for (int n : {6, 8, 11, 14, 18}) EXPECT_EQ(lines[n - 1], separator) << "line " << n;
  for (int n : {2, 7, 19}) EXPECT_EQ(lines[n - 1], "") << "line " << n;
  EXPECT_EQ(lines[9], kDisclaimer);  // one line, however long
  for (int n : {1, 3, 4, 5, 9, 12, 13, 15, 16, 17, 20, 21}) EXPECT_FALSE(lines[n - 1].empty()) << "line " << n;
}

// The whole toolbar: the strip, the keys and the panel over them.
std::vector<ControlDesign> AllControls() {
  std::vector<ControlDesign> all(BottomStrip().begin(), BottomStrip().end());
  for (int r = 0; r < kKeyRows; ++r)
    for (int c = 0; c < kKeyColumns; ++c) all.push_back(KeyDesign(r, c));
  all.push_back({.id = id::kPanel, .rect = kPanelRect});
  return all;
}

bool IsKey(const ControlDesign& c) { return c.kind == ControlKind::kKey; }
bool IsStripButton(const ControlDesign& c) {
  return c.kind == ControlKind::kColouredButton || c.kind == ControlKind::kPushButton;
}

TEST(ToolbarLayout, KeypadHoldsEveryIndexOnceInKeyboardOrder) {
  std::set<int> seen;
  for (int r = 0; r < kKeyRows; ++r)
    for (int c = 0; c < kKeyColumns; ++c) {
      const int index = KeyIndexAt(r, c);
      EXPECT_TRUE(index >= 0 && index < kKeyCount) << r << "," << c;
      EXPECT_TRUE(seen.insert(index).second) << "index " << index << " twice";
      EXPECT_EQ(KeyDesign(r, c).id, id::kFirstKey + index);
    }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kKeyCount));
  // Keyboard order: q w e r t y opens row 1, a s d f row 2, z x c v row 3 (index = code - 32).
  EXPECT_EQ(std::string({char(KeyIndexAt(1, 0) + 32), char(KeyIndexAt(1, 1) + 32), char(KeyIndexAt(1, 2) + 32)}),
            "qwe");
  EXPECT_EQ(std::string({char(KeyIndexAt(2, 0) + 32), char(KeyIndexAt(3, 0) + 32)}), "az");
}

TEST(ToolbarLayout, IdsAreUniqueAndEveryControlLiesInTheClientArea) {
  const auto all = AllControls();
  rules::ExpectUniqueIds(all);
  for (const auto& c : all) {
    // The logo starts 30 twips left of the client area: the blank margin of
    // its picture is cut off there.
    TwipRect rect = c.rect;
    if (c.id == id::kLogo) {
      EXPECT_EQ(rect.left, -30);
      rect.left = 0;
      rect.width -= 30;
    }
    EXPECT_TRUE(rules::Inside(rect, kClientWidth, kClientHeight)) << rules::Describe(c);
  }
}

// Keys overlap each neighbour, across and down, by 15 twips; the strip's
// buttons overlap theirs the same way; the target field lies over the
// quick-text box; the enlargement panel floats over the keys. Nothing else
// overlaps.
TEST(ToolbarLayout, OnlyTheIntendedControlsOverlap) {
  const auto all = AllControls();
  for (std::size_t i = 0; i < all.size(); ++i) {
    for (std::size_t j = i + 1; j < all.size(); ++j) {
      const ControlDesign& a = all[i];
      const ControlDesign& b = all[j];
      const rules::Overlap shared = rules::OverlapOf(a.rect, b.rect);
      if (!shared.any()) continue;
      const auto pair = rules::Describe(a) + " and " + rules::Describe(b);
      if (IsKey(a) && IsKey(b)) {
        const bool across = shared.width == kKeyOverlap && shared.height == a.rect.height;
        const bool down = shared.height == kKeyOverlap && shared.width == a.rect.width;
        const bool corner = shared.width == kKeyOverlap && shared.height == kKeyOverlap;
        EXPECT_TRUE(across || down || corner) << pair;
      } else if (IsStripButton(a) && IsStripButton(b)) {
        EXPECT_EQ(shared.width, kKeyOverlap) << pair;
        EXPECT_EQ(a.rect.top, b.rect.top) << pair;
      } else if (a.id == id::kTargetField && b.id == id::kQuickText) {
        // Each keeps an end uncovered, the target field its left, the box its right.
        EXPECT_LT(a.rect.left, b.rect.left);
        EXPECT_GT(b.rect.left + b.rect.width, a.rect.left + a.rect.width);
      } else {
        EXPECT_TRUE((IsKey(a) && b.id == id::kPanel) || (IsKey(b) && a.id == id::kPanel)) << pair << " overlap";
      }
    }
  }
  // Every button of the strip overlaps the next one, every key its right
  // and lower neighbours.
  std::vector<TwipRect> buttons;
  for (const auto& c : BottomStrip())
    if (IsStripButton(c)) buttons.push_back(c.rect);
  std::sort(buttons.begin(), buttons.end(), [](const TwipRect& x, const TwipRect& y) { return x.left < y.left; });
  ASSERT_EQ(buttons.size(), 8u);
  for (std::size_t i = 0; i + 1 < buttons.size(); ++i)
    EXPECT_EQ(rules::OverlapOf(buttons[i], buttons[i + 1]).width, kKeyOverlap) << "button " << i;
  for (int r = 0; r < kKeyRows; ++r)
    for (int c = 0; c < kKeyColumns; ++c) {
      if (c + 1 < kKeyColumns) {
        EXPECT_EQ(rules::OverlapOf(KeyRect(r, c), KeyRect(r, c + 1)).width, kKeyOverlap);
      }
      if (r + 1 < kKeyRows) {
        EXPECT_EQ(rules::OverlapOf(KeyRect(r, c), KeyRect(r + 1, c)).height, kKeyOverlap);
      }
    }
}

// Where controls overlap, the one made first lies on top: the panel over the
// keys, the target field over the quick-text box.
TEST(ToolbarLayout, StackingAndTabOrderFollowTheTable) {
  const auto strip = BottomStrip();
  const auto position = [&](int controlId) {
    return std::find_if(strip.begin(), strip.end(), [&](const ControlDesign& c) { return c.id == controlId; }) -
           strip.begin();
  };
  EXPECT_LT(position(id::kTargetField), position(id::kQuickText));
  EXPECT_EQ(rules::TabOrder(strip),
            (std::vector<int>{id::kFonts, id::kTargetField, id::kQuickText, id::kCommand1, id::kCommand2,
                              id::kCommand3, id::kCommand4, id::kCommand5, id::kCommand6, id::kCommand7,
                              id::kCommand10}));
  for (int r = 0; r < kKeyRows; ++r)
    for (int c = 0; c < kKeyColumns; ++c) EXPECT_FALSE(IsTabStop(KeyDesign(r, c).kind));
}

TEST(ToolbarLayout, PixelsKeepTheLayoutAtEveryDpi) { rules::ExpectPixelsKeepTheLayout(AllControls()); }

TEST(ToolbarLayout, StripTooltipsSitOnTheirControlsFramedByBlanks) {
  const std::pair<int, std::string_view> expected[] = {
      {id::kLogo, "   <(;-)  "},
      {id::kCommand7, "   Swaps the first word in selection with the remaining words   "},
      {id::kCommand10, "  Customize Buttons...     "},
      {id::kTargetField, "  Double click here to change or refresh the application list  "},
      {id::kQuickText, "  Paste text here and  Hit Enter to Add   "},
      {id::kMarker, "  Click to insert the text in yellow    "},
  };
  for (const auto& [controlId, tooltip] : expected) {
    const ControlDesign* control = FindControl(BottomStrip(), controlId);
    ASSERT_NE(control, nullptr) << controlId;
    EXPECT_EQ(control->tooltip, tooltip) << controlId;
  }
  // The balloon's text never touches its edge: two blanks at least on each side.
  std::vector<std::string_view> shown{kPanelTooltip};
  for (const auto& control : BottomStrip())
    if (!control.tooltip.empty()) shown.push_back(control.tooltip);
  for (const std::string_view tooltip : shown) {
    EXPECT_EQ(tooltip.substr(0, 2), "  ") << tooltip;
    EXPECT_EQ(tooltip.substr(tooltip.size() - 2), "  ") << tooltip;
  }
  for (int id : {101, 102, 103, 104, 105, 106, id::kFonts}) EXPECT_EQ(FindControl(BottomStrip(), id)->tooltip, "") << id;
  EXPECT_EQ(FindControl(BottomStrip(), 108), nullptr);
}

}  // namespace
}  // namespace lk::ui::toolbar
