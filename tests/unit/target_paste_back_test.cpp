#include "target/paste_back.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"

namespace lk::target {
namespace {

using namespace std::chrono_literals;
using platform::ClipboardItem;
using platform::FakePlatform;
using platform::WindowHandle;

constexpr WindowHandle kNotepad = 10;
constexpr WindowHandle kOther = 20;
const char* const kName = "Untitled - Notepad";

void AddNotepad(FakePlatform& fake, std::chrono::milliseconds readDelay = 0ms) {
  fake.windows[kNotepad] = {kName, true, true, {}};
  fake.windows[kOther] = {"Other", true, true, {}};
  fake.targets[kNotepad] = {kNotepad, "", 0, readDelay, {}};
}

void UserText(FakePlatform& fake, const std::string& text) {
  fake.clipboardHasText = true;
  fake.clipboardText = text;
}

std::vector<std::string> Pasted(FakePlatform& fake) { return fake.targets[kNotepad].pasted; }

TEST(PasteIT, TargetGetsTheTextAndTheUsersTextReturnsAfterwards) {
  FakePlatform fake;
  AddNotepad(fake);
  UserText(fake, "T");
  EXPECT_TRUE(PasteIT(fake, kName, "new"));
  EXPECT_EQ(Pasted(fake), std::vector<std::string>{"new"});
  EXPECT_EQ(fake.clipboardText, "T");
  EXPECT_FALSE(fake.clipboardMarked);
  EXPECT_TRUE(fake.offerTaken);  // the text the target read was our marked one
  EXPECT_EQ(fake.Count("Yield"), 21);
  EXPECT_EQ(fake.KeyEventsTo(kNotepad), 4);
  EXPECT_EQ(fake.Count("KeyDown 0x56 scan 0x56"), 1);
}

TEST(PasteIT, SlowReaderGetsTheNewTextNotTheRestoredOne) {
  FakePlatform fake;
  AddNotepad(fake, 300ms);
  UserText(fake, "T");
  EXPECT_TRUE(PasteIT(fake, kName, "new"));
  EXPECT_EQ(Pasted(fake), std::vector<std::string>{"new"});
  EXPECT_GE(fake.now, 300ms);
  EXPECT_EQ(fake.clipboardText, "T");
}

TEST(PasteIT, UsersOwnTextAgainSendsNothing) {
  FakePlatform fake;
  AddNotepad(fake);
  UserText(fake, "T");
  EXPECT_FALSE(PasteIT(fake, kName, "T"));
  EXPECT_EQ(fake.Count("Activate"), 0);
  EXPECT_EQ(fake.Count("Key"), 0);
  EXPECT_TRUE(fake.clipboardHasText);
  EXPECT_EQ(fake.clipboardText, "T");
  EXPECT_FALSE(fake.clipboardMarked);
}

TEST(PasteIT, EmptyClipboardKeepsThePastedTextButEmptyTextIsNoPaste) {
  FakePlatform fake;
  AddNotepad(fake);
  EXPECT_TRUE(PasteIT(fake, kName, "abc"));
  EXPECT_EQ(Pasted(fake), std::vector<std::string>{"abc"});
  EXPECT_EQ(fake.clipboardText, "abc");

  FakePlatform none;
  AddNotepad(none);
  EXPECT_FALSE(PasteIT(none, kName, ""));
  EXPECT_EQ(none.Count("Activate"), 0);
  EXPECT_EQ(none.Count("Key"), 0);
  EXPECT_FALSE(none.clipboardHasText);
  EXPECT_TRUE(none.clipboardOther.empty());
}

TEST(PasteIT, PictureOnlyClipboardComesBackAfterThePaste) {
  FakePlatform fake;
  AddNotepad(fake);
  fake.clipboardOther = {ClipboardItem{2, "", {9, 8, 7}}};
  EXPECT_TRUE(PasteIT(fake, kName, "abc"));
  EXPECT_EQ(Pasted(fake), std::vector<std::string>{"abc"});
  EXPECT_FALSE(fake.clipboardHasText);
  ASSERT_EQ(fake.clipboardOther.size(), 1u);
  EXPECT_EQ(fake.clipboardOther[0].format, 2u);
  EXPECT_EQ(fake.clipboardOther[0].bytes, (std::vector<unsigned char>{9, 8, 7}));
}

TEST(PasteIT, ForegroundTakenSendsNoKeysAndLeavesNoTextBehind) {
  FakePlatform fake;
  AddNotepad(fake);
  UserText(fake, "T");
  fake.stealForegroundTo = kOther;
  EXPECT_FALSE(PasteIT(fake, kName, "abc"));
  EXPECT_EQ(fake.KeyEventsTo(kNotepad) + fake.KeyEventsTo(kOther), 0);
  EXPECT_EQ(fake.clipboardText, "T");
  EXPECT_FALSE(fake.clipboardMarked);

  // With nothing of the user's to give back, our text must not stay there.
  FakePlatform empty;
  AddNotepad(empty);
  empty.stealForegroundTo = kOther;
  EXPECT_FALSE(PasteIT(empty, kName, "abc"));
  EXPECT_FALSE(empty.clipboardHasText);
}

}  // namespace
}  // namespace lk::target
