#include "target_link/window_catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/fake_platform.h"

namespace lk::target_link {
namespace {

using platform::FakePlatform;
using platform::WindowHandle;

std::vector<std::pair<std::string, WindowHandle>> Listed(FakePlatform& fake) {
  std::vector<std::pair<std::string, WindowHandle>> out;
  for (const auto& entry : ListWindows(fake)) out.emplace_back(entry.text, entry.window);
  return out;
}

TEST(WindowCatalogue, OnlyVisibleEnabledTitledWindowsInEnumerationOrder) {
  FakePlatform fake;
  fake.windows[1] = {"Hidden", false, true};
  fake.windows[2] = {"Disabled", true, false};
  fake.windows[3] = {"", true, true};
  fake.windows[4] = {"  Notepad ", true, true};
  fake.windows[5] = {"Word", true, true};
  // Enumerated front to back, not in handle order; 99 closed meanwhile.
  fake.zOrder = {5, 99, 1, 2, 3, 4};
  EXPECT_EQ(Listed(fake), (std::vector<std::pair<std::string, WindowHandle>>{{"Word", 5}, {"Notepad", 4}}));
}

TEST(WindowCatalogue, ExclusionsCompareTheUntrimmedTitleExactly) {
  FakePlatform fake;
  fake.windows[1] = {"Program Manager", true, true};
  fake.windows[2] = {"Lekhopakar", true, true};
  fake.windows[3] = {"Select Application", true, true};
  fake.windows[4] = {"Program Manager ", true, true};
  fake.windows[5] = {"program manager", true, true};
  fake.windows[6] = {" Lekhopakar", true, true};
  EXPECT_EQ(Listed(fake), (std::vector<std::pair<std::string, WindowHandle>>{
                              {"Program Manager", 4}, {"program manager", 5}, {"Lekhopakar", 6}}));
}

TEST(WindowCatalogue, BlanksOnlyTitleIsAnEmptyEntryAndEqualTitlesStaySeparate) {
  FakePlatform fake;
  fake.windows[1] = {"   ", true, true};
  fake.windows[2] = {"Untitled - Notepad", true, true};
  fake.windows[3] = {"Untitled - Notepad", true, true};
  // Only blanks are trimmed: a tab belongs to the title.
  fake.windows[4] = {"\tTabbed\t", true, true};
  EXPECT_EQ(Listed(fake), (std::vector<std::pair<std::string, WindowHandle>>{{"", 1},
                                                                             {"Untitled - Notepad", 2},
                                                                             {"Untitled - Notepad", 3},
                                                                             {"\tTabbed\t", 4}}));
}

}  // namespace
}  // namespace lk::target_link
