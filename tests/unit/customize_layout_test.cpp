#include "ui/customize/customize_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

#include "ui/customize/customize_model.h"

namespace lk::ui::customize {
namespace {

TEST(CustomizeLayout, IdentifiersAreUniqueAndTheGridFollowsTheContract) {
  std::set<int> ids;
  int styled = 0;
  for (const auto& c : Controls()) {
    EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    if (c.font == FontRole::kStyled) ++styled;
    if (c.kind == Kind::kField) {
      EXPECT_TRUE(IsField(c.id)) << c.id;
    }
  }
  EXPECT_EQ(styled, 27);
  EXPECT_EQ(Controls().front().id, id::kFontList) << "first in the tab order";

  const auto& row3 = Control(333);
  EXPECT_EQ(row3.rect.left, 3285);
  EXPECT_EQ(row3.rect.top, 3255);
  EXPECT_EQ(row3.rect.width, 1080);
  EXPECT_EQ(row3.rect.height, 345);
  EXPECT_TRUE(row3.readOnly);
  EXPECT_EQ(Control(355).align, Align::kLeft);
  EXPECT_EQ(Control(355).font, FontRole::kDialog);
  EXPECT_EQ(Control(340).tooltip, "Button 4");
  EXPECT_EQ(Control(id::kRepeat).font, FontRole::kDialog);
  EXPECT_EQ(Control(id::kCaption6).font, FontRole::kStyled);
  EXPECT_EQ(Control(id::kTooltip6).font, FontRole::kDialog);
  EXPECT_EQ(Control(id::Label(8)).tooltip, "Button 6");
  EXPECT_EQ(Control(id::Label(8)).align, Align::kRight);
  EXPECT_EQ(Control(id::Label(14)).text.substr(Control(id::Label(14)).text.size() - 3), ".  ");
  EXPECT_EQ(Control(id::Label(1)).text.substr(4, 15), std::string(14, ' ') + "c");
  EXPECT_TRUE(Control(id::Label(1)).wraps);
  EXPECT_EQ(Control(id::kLoadDefault).text, "&Load Default");
  EXPECT_THROW(Control(999), std::out_of_range);
}

}  // namespace
}  // namespace lk::ui::customize
