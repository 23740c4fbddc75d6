#include "ui/select_application/select_application_layout.h"

#include <gtest/gtest.h>

#include <vector>

#include "layout_rules.h"

namespace lk::ui::select_application {
namespace {

TEST(SelectApplicationLayout, ControlsLieApartInTheClientArea) {
  const auto all = Controls();
  rules::ExpectUniqueIds(all);
  for (std::size_t i = 0; i < all.size(); ++i) {
    EXPECT_TRUE(rules::Inside(all[i].rect, kDesign.clientWidth, kDesign.clientHeight)) << rules::Describe(all[i]);
    for (std::size_t j = i + 1; j < all.size(); ++j)
      EXPECT_FALSE(rules::OverlapOf(all[i].rect, all[j].rect).any())
          << rules::Describe(all[i]) << " and " << rules::Describe(all[j]);
  }
}

// The two rules part the list from the buttons: the dark one above the light
// one, both in the gap between them and no wider than the client area.
TEST(SelectApplicationLayout, RulesRunBetweenTheListAndTheButtons) {
  const ControlDesign* list = FindControl(Controls(), id::kList);
  ASSERT_NE(list, nullptr);
  EXPECT_GT(kDarkRuleTop, list->rect.top + list->rect.height);
  EXPECT_LT(kDarkRuleTop, kLightRuleTop);
  for (const int button : {id::kCancel, id::kOk, id::kRefresh}) {
    const ControlDesign* design = FindControl(Controls(), button);
    ASSERT_NE(design, nullptr) << button;
    EXPECT_EQ(design->kind, ControlKind::kPushButton) << button;
    EXPECT_LT(kLightRuleTop, design->rect.top) << button;
  }
  EXPECT_LT(kRuleLeft, kRuleRight);
  EXPECT_LE(kRuleRight, kDesign.clientWidth);
}

// Cancel opens the tab order, so it has the focus when the dialog opens and
// Enter then cancels; the label is no stop.
TEST(SelectApplicationLayout, TabOrderStartsAtCancel) {
  EXPECT_EQ(rules::TabOrder(Controls()), (std::vector<int>{id::kCancel, id::kOk, id::kRefresh, id::kList}));
}

TEST(SelectApplicationLayout, PixelsKeepTheLayoutAtEveryDpi) { rules::ExpectPixelsKeepTheLayout(Controls()); }

}  // namespace
}  // namespace lk::ui::select_application
