#include "target_link/target_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_platform.h"
#include "target_link/sequence_gate.h"
#include "target_link/target_ui.h"

namespace lk::target_link {
namespace {

using platform::FakePlatform;

// The toolbar's side: a target field, and a dialog that may pick a new name.
class UiDouble : public TargetUi {
 public:
  std::string name;
  std::string picked;  // what the dialog puts in the field, when not empty
  int opened = 0;
  std::string TargetName() override { return name; }
  void OpenSelectApplication() override {
    ++opened;
    if (!picked.empty()) name = picked;
  }
};

const std::string kNoTarget =
    "MessageBox [Please select the one of the running application to use with this application.] information "
    "title [Lekhopakar]";

std::string NotRunning(const std::string& name) {
  return "MessageBox [" + name +
         " is not running or this application was unable to detect it.\r\nPlease select the running application or "
         "refresh it.] stop title [Lekhopakar]";
}

TEST(CheckTarget, EmptyNameTellsOpensTheDialogAndRefusesEvenWhenOnePicked) {
  FakePlatform fake;
  fake.windows[1] = {"Notepad", true, true};
  UiDouble ui;
  ui.picked = "Notepad";
  EXPECT_EQ(CheckTarget(fake, ui), 0u);
  EXPECT_EQ(fake.calls, std::vector<std::string>{kNoTarget});
  EXPECT_EQ(ui.opened, 1);
  EXPECT_EQ(fake.foreground, 0u);
}

TEST(CheckTarget, UnknownNameIsNamedInTheMessageAndRefusedEvenWhenOnePicked) {
  FakePlatform fake;
  fake.windows[1] = {"Notepad", true, true};
  UiDouble ui;
  ui.name = "Word";
  ui.picked = "Notepad";
  EXPECT_EQ(CheckTarget(fake, ui), 0u);
  EXPECT_EQ(fake.Count(NotRunning("Word")), 1);
  EXPECT_EQ(fake.Count("Activate"), 0);
  EXPECT_EQ(ui.opened, 1);
}

TEST(CheckTarget, BlanksOnlyNameIsNotEmptyAndIsLookedFor) {
  FakePlatform fake;
  fake.windows[1] = {"Notepad", true, true};
  UiDouble ui;
  ui.name = "  ";
  EXPECT_EQ(CheckTarget(fake, ui), 0u);
  EXPECT_EQ(fake.Count(NotRunning("  ")), 1);
  EXPECT_EQ(fake.Count(kNoTarget), 0);
}

TEST(CheckTarget, ExactTitleWinsOverAnEarlierLeadingMatchAndHiddenWindowsDoNotCount) {
  FakePlatform fake;
  fake.zOrder = {3, 4, 5, 6};
  fake.windows[3] = {"Microsoft Word", false, true};  // hidden
  fake.windows[4] = {"Microsoft Word - Letter.doc", true, true};
  fake.windows[5] = {"Microsoft Word - Notes.doc", true, true};
  fake.windows[6] = {"Microsoft Word", true, true};
  UiDouble ui;
  ui.name = "Microsoft Word";
  EXPECT_EQ(CheckTarget(fake, ui), 6u);
  EXPECT_EQ(fake.foreground, 6u);

  fake.windows.erase(6);
  fake.zOrder = {3, 4, 5};
  EXPECT_EQ(CheckTarget(fake, ui), 4u);  // the first leading match, front to back
  EXPECT_EQ(fake.Count("MessageBox"), 0);
  EXPECT_EQ(ui.opened, 0);
}

// Squeezed through a single-byte code page both titles read "??????.txt -
// Notepad"; compared as the Unicode text they are, each finds its own window.
TEST(CheckTarget, DevanagariTitlesFindTheirOwnWindow) {
  const std::string nepali = "\u0928\u0947\u092A\u093E\u0932\u0940.txt - Notepad";
  const std::string hindi = "\u0939\u093F\u0928\u094D\u0926\u0940.txt - Notepad";
  FakePlatform fake;
  fake.zOrder = {7, 8};
  fake.windows[7] = {nepali, true, true, {}};
  fake.windows[8] = {hindi, true, true, {}};
  UiDouble ui;
  ui.name = hindi;
  EXPECT_EQ(CheckTarget(fake, ui), 8u);
  ui.name = "\u0939\u093F\u0928\u094D\u0926\u0940";  // a leading part
  EXPECT_EQ(CheckTarget(fake, ui), 8u);
  ui.name = nepali;
  EXPECT_EQ(CheckTarget(fake, ui), 7u);
  ui.name = "??????.txt - Notepad";
  EXPECT_EQ(CheckTarget(fake, ui), 0u);
}

TEST(CheckTarget, TargetAlreadyInFrontIsNotActivatedAgainAndAnotherIsBroughtForward) {
  FakePlatform fake;
  fake.zOrder = {1, 2};
  fake.windows[1] = {"Notepad", true, true};
  fake.windows[2] = {"Other", true, true};
  fake.foreground = 1;
  UiDouble ui;
  ui.name = "Notepad";
  EXPECT_EQ(CheckTarget(fake, ui), 1u);
  EXPECT_EQ(fake.Count("Activate"), 0);

  fake.foreground = 2;
  EXPECT_EQ(CheckTarget(fake, ui), 1u);
  EXPECT_EQ(fake.calls, std::vector<std::string>{"Activate 1"});
  EXPECT_EQ(fake.foreground, 1u);
}

TEST(SequenceGate, HoldsBackWhileAPassLivesAndOpensAfter) {
  SequenceGate gate;
  {
    auto pass = gate.TryEnter();
    ASSERT_TRUE(pass.has_value());
    EXPECT_TRUE(gate.running());
    EXPECT_FALSE(gate.TryEnter().has_value());
    // A moved pass still holds the gate until the last owner ends.
    auto moved = std::move(*pass);
    pass.reset();
    EXPECT_FALSE(gate.TryEnter().has_value());
  }
  EXPECT_FALSE(gate.running());
  EXPECT_TRUE(gate.TryEnter().has_value());
}

}  // namespace
}  // namespace lk::target_link
