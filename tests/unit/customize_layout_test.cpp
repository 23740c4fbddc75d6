#include "ui/customize/customize_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "layout_rules.h"
#include "ui/customize/customize_model.h"

namespace lk::ui::customize {
namespace {

bool IsLabel(const ControlDesign& c) { return c.kind == ControlKind::kDrawnLabel; }

// The four help lines that run across the dialog above the rows they explain.
bool IsHelpLine(const ControlDesign& c) {
  return c.id == id::Label(11) || c.id == id::Label(12) || c.id == id::Label(13) || c.id == id::Label(14);
}

TEST(CustomizeLayout, IdsAreUniqueAndEveryControlLiesInTheClientArea) {
  rules::ExpectUniqueIds(Controls());
  for (const auto& c : Controls())
    EXPECT_TRUE(rules::Inside(c.rect, kDesign.clientWidth, kDesign.clientHeight)) << rules::Describe(c);
  EXPECT_TRUE(rules::Inside(kSwatchRect, kDesign.clientWidth, kDesign.clientHeight));
}

// The fields are exactly the ones the model keeps texts for.
TEST(CustomizeLayout, FieldsAreTheModelsFields) {
  int fields = 0;
  for (const auto& c : Controls()) {
    EXPECT_EQ(c.kind == ControlKind::kField, IsField(c.id)) << rules::Describe(c);
    if (c.kind == ControlKind::kField) ++fields;
  }
  EXPECT_EQ(fields, kFieldCount);
  EXPECT_FALSE(IsField(id::kFontList));
  EXPECT_FALSE(IsField(id::Label(1)));
}

// Overlaps the design has: labels under the fields they border, the column
// headings side by side and over the first help line, button 6's labels over
// the last. Inputs (fields, lists, buttons) never overlap one another.
TEST(CustomizeLayout, OnlyLabelsAreOverlappedAndWhatOverlapsThemLiesAbove) {
  const auto all = Controls();
  for (std::size_t i = 0; i < all.size(); ++i) {
    for (std::size_t j = i + 1; j < all.size(); ++j) {
      const ControlDesign& upper = all[i];  // made first, so stacked above
      const ControlDesign& lower = all[j];
      const rules::Overlap shared = rules::OverlapOf(upper.rect, lower.rect);
      if (!shared.any()) continue;
      const auto pair = rules::Describe(upper) + " over " + rules::Describe(lower);
      EXPECT_TRUE(IsLabel(lower)) << pair << ": an input would be covered";
      if (!IsLabel(upper) || !IsLabel(lower)) continue;
      // Two labels: a heading or button 6's label over a help line, or two
      // neighbouring column headings sharing the blank ends of their boxes.
      EXPECT_FALSE(IsHelpLine(upper)) << pair;
      if (!IsHelpLine(lower)) {
        EXPECT_GT(shared.height * 2, std::min(upper.rect.height, lower.rect.height)) << pair << ": not side by side";
        EXPECT_LE(shared.width, 60) << pair;
        EXPECT_EQ(upper.align, Align::kCentre) << pair;
        EXPECT_EQ(lower.align, Align::kCentre) << pair;
      }
    }
  }
}

// The swatch is painted by the dialog and by every label over it, so nothing
// else may lie on it.
TEST(CustomizeLayout, OnlyLabelsLieOnTheSwatch) {
  int covering = 0;
  for (const auto& c : Controls()) {
    if (!rules::OverlapOf(c.rect, kSwatchRect).any()) continue;
    EXPECT_TRUE(IsLabel(c)) << rules::Describe(c);
    ++covering;
  }
  EXPECT_EQ(covering, 2) << "the heading and the first help line";
}

TEST(CustomizeLayout, TabOrderRunsFromTheListsThroughTheRowsToTheButtons) {
  std::vector<int> expected = {id::kFontList, id::kSizeList};
  for (int row = 1; row <= kRows; ++row)
    for (int index = 0; index < kColumns; ++index) expected.push_back(id::Field(row, index));
  for (int field : {id::kCharacter, id::kRepeat, id::kCaption6, id::kTooltip6, id::kLoadDefault, id::kSave,
                    id::kClose})
    expected.push_back(field);
  EXPECT_EQ(rules::TabOrder(Controls()), expected);
}

// Fields that hold legacy-font glyphs show them in the picked font; the
// tooltips and the count are plain text.
TEST(CustomizeLayout, GlyphFieldsUseThePickedFont) {
  std::set<int> picked;
  for (const auto& c : Controls())
    if (c.pickedFont) picked.insert(c.id);
  std::set<int> glyphFields = {id::kCharacter, id::kCaption6};
  for (int row = 1; row <= kRows; ++row)
    for (int index = 0; index < kColumns - 1; ++index) glyphFields.insert(id::Field(row, index));
  EXPECT_EQ(picked, glyphFields);
}

TEST(CustomizeLayout, PixelsKeepTheLayoutAtEveryDpi) {
  std::vector<ControlDesign> all(Controls().begin(), Controls().end());
  all.push_back({.id = 0, .rect = kSwatchRect});
  rules::ExpectPixelsKeepTheLayout(all);
}

TEST(CustomizeLayout, LookupOfAStrangerIsNoControl) {
  EXPECT_EQ(FindControl(Controls(), 999), nullptr);
  ASSERT_NE(FindControl(Controls(), id::kSave), nullptr);
  EXPECT_EQ(FindControl(Controls(), id::kSave)->kind, ControlKind::kPushButton);
}

}  // namespace
}  // namespace lk::ui::customize
