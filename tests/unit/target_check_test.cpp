#include "target/target_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "target/sequence_gate.h"
#include "target/target_ui.h"

namespace lk::target {
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
    "MessageBox [Please select the one of the running application to use with this application.] flags 64 title "
    "[Lekhopakar]";

std::string NotRunning(const std::string& name) {
  return "MessageBox [" + name +
         " is not running or this application was unable to detect it.\r\nPlease select the running application or "
         "refresh it.] flags 16 title [Lekhopakar]";
}

TEST(CheckTarget, EmptyNameTellsOpensTheDialogAndRefusesEvenWhenOnePicked) {
  FakePlatform fake;
  fake.windows[1] = {"Notepad", true, true, {}};
  UiDouble ui;
  ui.picked = "Notepad";
  EXPECT_FALSE(CheckTarget(fake, ui));
  EXPECT_EQ(fake.calls, std::vector<std::string>{kNoTarget});
  EXPECT_EQ(ui.opened, 1);
  EXPECT_EQ(fake.foreground, 0u);
}

TEST(CheckTarget, UnknownNameIsNamedInTheMessageAndRefusedEvenWhenOnePicked) {
  FakePlatform fake;
  fake.windows[1] = {"Notepad", true, true, {}};
  UiDouble ui;
  ui.name = "Word";
  ui.picked = "Notepad";
  EXPECT_FALSE(CheckTarget(fake, ui));
  EXPECT_EQ(fake.calls, (std::vector<std::string>{"Activate Word", NotRunning("Word")}));
  EXPECT_EQ(ui.opened, 1);
}

TEST(CheckTarget, BlanksOnlyNameIsNotEmptyAndGoesToActivation) {
  FakePlatform fake;
  fake.windows[1] = {"Notepad", true, true, {}};
  UiDouble ui;
  ui.name = "  ";
  EXPECT_FALSE(CheckTarget(fake, ui));
  EXPECT_EQ(fake.calls, (std::vector<std::string>{"Activate   ", NotRunning("  ")}));
}

TEST(CheckTarget, LeadingPartOfATitleFindsTheWindowWithoutAnyMessage) {
  FakePlatform fake;
  fake.windows[4] = {"Microsoft Word - Letter.doc", true, true, {}};
  UiDouble ui;
  ui.name = "Microsoft Word";
  EXPECT_TRUE(CheckTarget(fake, ui));
  EXPECT_EQ(fake.foreground, 4u);
  EXPECT_EQ(fake.Count("MessageBox"), 0);
  EXPECT_EQ(ui.opened, 0);
}

// Activation failing for a reason other than a missing window.
class FailingActivation : public FakePlatform {
 public:
  platform::Activation ActivateWindowByTitle(const std::string& name) override {
    calls.push_back("Activate " + name);
    return {7, "Out of memory", 0};
  }
};

TEST(CheckTarget, OtherActivationFailureShowsCodeAndDescriptionWithoutDialog) {
  FailingActivation fake;
  UiDouble ui;
  ui.name = "Notepad";
  EXPECT_FALSE(CheckTarget(fake, ui));
  EXPECT_EQ(fake.calls,
            (std::vector<std::string>{"Activate Notepad", "MessageBox [ 7Out of memory] flags 0 title (default)"}));
  EXPECT_EQ(ui.opened, 0);
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
}  // namespace lk::target
