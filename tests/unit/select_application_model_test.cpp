#include "ui/select_application/select_application_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_platform.h"

namespace lk::ui::select_application {
namespace {

using platform::FakePlatform;
using Outcome = SelectApplicationModel::Outcome;

const std::string kNoSelection =
    "MessageBox [You have not selected any application.\r\nContinue any way] yes-no title [Info]";

std::vector<std::string> Texts(const SelectApplicationModel& model) {
  std::vector<std::string> out;
  for (const auto& entry : model.entries()) out.push_back(entry.text);
  return out;
}

TEST(SelectApplicationModel, FillAppendsAndRefreshStartsAfresh) {
  FakePlatform fake;
  fake.windows[1] = {"Notepad", true, true};
  SelectApplicationModel model(fake, fake);
  model.Fill();
  model.Fill();
  EXPECT_EQ(Texts(model), (std::vector<std::string>{"Notepad", "Notepad"}));

  fake.windows[2] = {"Word", true, true};
  model.Refresh();
  EXPECT_EQ(Texts(model), (std::vector<std::string>{"Notepad", "Word"}));
}

TEST(SelectApplicationModel, PointOutFlashesTheEntrysOwnWindow) {
  FakePlatform fake;
  fake.windows[7] = {"Same", true, true};
  fake.windows[9] = {"Same", true, true};
  SelectApplicationModel model(fake, fake);
  model.Fill();
  model.PointOut(1);
  model.PointOut(2);  // beyond the list: nothing to flash
  EXPECT_EQ(fake.calls, std::vector<std::string>{"FlashWindow 9"});  // that one window alone
}

TEST(SelectApplicationModel, OkWithoutSelectionAsksAndOnlyYesCloses) {
  FakePlatform fake;
  SelectApplicationModel model(fake, fake);
  model.Fill();  // nothing qualifies: the list is empty
  std::string field = "Old";

  fake.messageBoxAnswers = {platform::BoxAnswer::kNo};
  EXPECT_EQ(model.Ok(-1, field), Outcome::kStayOpen);
  fake.messageBoxAnswers = {platform::BoxAnswer::kYes};
  EXPECT_EQ(model.Ok(-1, field), Outcome::kClose);

  EXPECT_EQ(fake.Count(kNoSelection), 2);
  EXPECT_EQ(field, "Old");
}

TEST(SelectApplicationModel, OkWithSelectionWritesTheTrimmedTitleSilently) {
  FakePlatform fake;
  fake.windows[1] = {"Word", true, true};
  fake.windows[2] = {"  Untitled - Notepad ", true, true};
  SelectApplicationModel model(fake, fake);
  model.Fill();
  std::string field = "Old";
  EXPECT_EQ(model.Ok(1, field), Outcome::kClose);
  EXPECT_EQ(field, "Untitled - Notepad");
  EXPECT_EQ(fake.Count("MessageBox"), 0);
}

}  // namespace
}  // namespace lk::ui::select_application
