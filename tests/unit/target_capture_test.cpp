#include "target/capture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
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
const ClipboardItem kPicture{2, "", {1, 2, 3}};

// Notes the simulated time of the first key event.
class ClockedFake : public FakePlatform {
 public:
  std::optional<std::chrono::milliseconds> firstKeyAt;
  void KeyEvent(unsigned char virtualKey, unsigned char scanCode, unsigned flags) override {
    if (!firstKeyAt) firstKeyAt = now;
    FakePlatform::KeyEvent(virtualKey, scanCode, flags);
  }
};

void AddNotepad(FakePlatform& fake, const std::string& selection, int copyAfterPumps = 0) {
  fake.windows[kNotepad] = {"Untitled - Notepad", true, true, {}};
  fake.windows[kOther] = {"Other", true, true, {}};
  fake.targets[kNotepad] = {kNotepad, selection, copyAfterPumps, 0ms, {}};
}

void UserText(FakePlatform& fake, const std::string& text) {
  fake.clipboardHasText = true;
  fake.clipboardText = text;
}

void Add(std::vector<std::string>& seq, const std::string& call, int times = 1) {
  seq.insert(seq.end(), static_cast<std::size_t>(times), call);
}

bool SameItems(const std::vector<ClipboardItem>& a, const std::vector<ClipboardItem>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].format != b[i].format || a[i].name != b[i].name || a[i].bytes != b[i].bytes) return false;
  return true;
}

TEST(CopyIT, FastTargetRunsTheWholeSequenceInOrderAndTheSelectionComesBackAsCopied) {
  FakePlatform fake;
  AddNotepad(fake, " line one\r\nline two \r\n");
  UserText(fake, "T");
  // Untrimmed, line breaks and all.
  EXPECT_EQ(CopyIT(fake, "Untitled - Notepad"), " line one\r\nline two \r\n");

  std::vector<std::string> want;
  Add(want, "ClipboardSave");
  Add(want, "ClipboardClear");
  Add(want, "Yield", 4);
  Add(want, "Activate Untitled - Notepad");
  Add(want, "Yield", 3);
  Add(want, "WaitUntil", 2);  // modifiers let go, target in front
  // The scan code is looked up afresh before every event.
  for (const auto& [key, event] : {std::pair{"0x11", "KeyDown 0x11 scan 0x11"}, std::pair{"0x43", "KeyDown 0x43 scan 0x43"},
                                   std::pair{"0x43", "KeyUp 0x43 scan 0x43"}, std::pair{"0x11", "KeyUp 0x11 scan 0x11"}}) {
    Add(want, std::string("ScanCode ") + key);
    Add(want, event);
    Add(want, "Yield", 3);
  }
  Add(want, "WaitUntil");
  Add(want, "Yield", 3);
  Add(want, "ClipboardClear");
  Add(want, "Yield", 2);
  Add(want, "ClipboardRestore");
  Add(want, "Yield", 2);
  EXPECT_EQ(fake.calls, want);
  EXPECT_EQ(fake.Count("Yield"), 26);
  EXPECT_EQ(fake.KeyEventsTo(kNotepad), 4);
  EXPECT_EQ(fake.now, 0ms);
  EXPECT_EQ(fake.clipboardText, "T");
}

TEST(CopyIT, UsersWholeClipboardComesBack) {
  {
    FakePlatform fake;  // a picture alone
    AddNotepad(fake, "abc");
    fake.clipboardOther = {kPicture};
    EXPECT_EQ(CopyIT(fake, "Untitled - Notepad"), "abc");
    EXPECT_FALSE(fake.clipboardHasText);
    EXPECT_TRUE(SameItems(fake.clipboardOther, {kPicture}));
  }
  {
    FakePlatform fake;  // formatted text: plain text beside other formats
    AddNotepad(fake, "abc");
    UserText(fake, "T");
    fake.clipboardOther = {kPicture};
    EXPECT_EQ(CopyIT(fake, "Untitled - Notepad"), "abc");
    EXPECT_EQ(fake.clipboardText, "T");
    EXPECT_TRUE(SameItems(fake.clipboardOther, {kPicture}));
  }
  {
    FakePlatform fake;  // nothing: stays nothing, the selection is not left behind
    AddNotepad(fake, "abc");
    EXPECT_EQ(CopyIT(fake, "Untitled - Notepad"), "abc");
    EXPECT_FALSE(fake.clipboardHasText);
    EXPECT_TRUE(fake.clipboardOther.empty());
    EXPECT_EQ(fake.Count("ClipboardRestore"), 0);
  }
}

TEST(CopyIT, SlowTargetIsWaitedForAndSilentOneOnlyUntilTheBound) {
  FakePlatform slow;
  AddNotepad(slow, "abc", 20);
  UserText(slow, "T");
  EXPECT_EQ(CopyIT(slow, "Untitled - Notepad"), "abc");
  EXPECT_EQ(slow.clipboardText, "T");

  FakePlatform silent;
  AddNotepad(silent, "abc", -1);
  UserText(silent, "T");
  EXPECT_EQ(CopyIT(silent, "Untitled - Notepad"), "");
  EXPECT_GE(silent.now, 1000ms);
  EXPECT_LE(silent.now, 1100ms);
  EXPECT_EQ(silent.clipboardText, "T");
  EXPECT_EQ(silent.Count("KeyUp 0x11"), 1);
}

TEST(CopyIT, ForegroundTakenAtActivationSendsNoKeyAnywhere) {
  FakePlatform fake;
  AddNotepad(fake, "abc");
  UserText(fake, "T");
  fake.stealForegroundTo = kOther;
  EXPECT_EQ(CopyIT(fake, "Untitled - Notepad"), "");
  EXPECT_EQ(fake.KeyEventsTo(kNotepad) + fake.KeyEventsTo(kOther), 0);
  EXPECT_EQ(fake.clipboardText, "T");
  EXPECT_LE(fake.now, 1000ms);
}

// Another window comes to the front once Ctrl is down.
class StolenAfterControl : public FakePlatform {
 public:
  void KeyEvent(unsigned char virtualKey, unsigned char scanCode, unsigned flags) override {
    FakePlatform::KeyEvent(virtualKey, scanCode, flags);
    if (virtualKey == 0x11 && flags == 0) foreground = kOther;
  }
};

TEST(CopyIT, ForegroundTakenMidwayStopsTheKeysButLetsGoOfControl) {
  StolenAfterControl fake;
  AddNotepad(fake, "abc");
  UserText(fake, "T");
  EXPECT_EQ(CopyIT(fake, "Untitled - Notepad"), "");
  EXPECT_EQ(fake.Count("KeyDown 0x43"), 0);
  EXPECT_EQ(fake.Count("KeyDown 0x11"), 1);
  EXPECT_EQ(fake.Count("KeyUp 0x11"), 1);
  EXPECT_EQ(fake.clipboardText, "T");
}

TEST(CopyIT, ControlLetGoByTheSystemIsPressedAgainBeforeTheLetter) {
  FakePlatform fake;
  AddNotepad(fake, "sel");
  fake.foreground = kNotepad;
  fake.dropControlOnce = true;  // as Wine may when the activated target syncs its keys
  EXPECT_EQ(CopyIT(fake, "Untitled - Notepad"), "sel");
  EXPECT_EQ(fake.Count("KeyDown 0x11"), 2);
  EXPECT_EQ(fake.Count("KeyUp 0x11"), 1);
}

TEST(CopyIT, KeysWaitForTheUsersModifiersButNotForever) {
  ClockedFake briefly;
  AddNotepad(briefly, "abc");
  briefly.modifiersHeldFor = 300ms;
  EXPECT_EQ(CopyIT(briefly, "Untitled - Notepad"), "abc");
  ASSERT_TRUE(briefly.firstKeyAt.has_value());
  EXPECT_GE(*briefly.firstKeyAt, 300ms);
  EXPECT_LT(*briefly.firstKeyAt, 1000ms);

  ClockedFake stuck;
  AddNotepad(stuck, "abc");
  stuck.modifiersHeldFor = 60000ms;
  EXPECT_EQ(CopyIT(stuck, "Untitled - Notepad"), "abc");
  ASSERT_TRUE(stuck.firstKeyAt.has_value());
  EXPECT_GE(*stuck.firstKeyAt, 900ms);
  EXPECT_LE(*stuck.firstKeyAt, 1100ms);
  EXPECT_EQ(stuck.KeyEventsTo(kNotepad), 4);
}

}  // namespace
}  // namespace lk::target
