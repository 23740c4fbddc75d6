#include "ui/toolbar/enlargement_panel.h"

#include <gtest/gtest.h>

namespace lk::ui::toolbar {
namespace {

TEST(EnlargementPanel, CentredStartRoundsHalvesToEven) {
  EXPECT_EQ(CentredStart(100, 40), 30);
  EXPECT_EQ(CentredStart(100, 41), 30);  // 29.5
  EXPECT_EQ(CentredStart(99, 42), 28);   // 28.5
  EXPECT_EQ(CentredStart(41, 100), -30);  // a glyph wider than the panel: -29.5
}

}  // namespace
}  // namespace lk::ui::toolbar
