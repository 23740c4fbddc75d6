#include "target_link/capture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "target_fixture.h"

namespace lk::target_link {
namespace {

using namespace std::chrono_literals;
using platform::ClipboardItem;
using platform::FakePlatform;
using platform::KeyStroke;
using namespace lk::testing;

const ClipboardItem kPicture{2, "", {1, 2, 3}};

bool SameItems(const std::vector<ClipboardItem>& a, const std::vector<ClipboardItem>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].format != b[i].format || a[i].name != b[i].name || a[i].bytes != b[i].bytes) return false;
  return true;
}

class CaptureBothRoutes : public ::testing::TestWithParam<Route> {};

TEST_P(CaptureBothRoutes, SelectionComesBackAsCopiedAndTheUsersTextReturns) {
  FakePlatform fake;
  AddTarget(fake, GetParam(), " line one\r\nline two \r\n");
  UserText(fake, "T");
  // Untrimmed, line breaks and all.
  EXPECT_EQ(CaptureText(fake, kTarget).text, " line one\r\nline two \r\n");
  EXPECT_EQ(fake.clipboardText, "T");
  EXPECT_TRUE(fake.KeysDown().empty());
  EXPECT_EQ(fake.KeysTo(kOther), 0);
  EXPECT_EQ(fake.targets[kTarget].typed, "");
  // Asked by message, the edit control gets no key at all; otherwise one
  // whole chord.
  EXPECT_EQ(fake.StrokesTo(kTarget),
            GetParam() == Route::kMessage ? std::vector<KeyStroke>{} : Chord(platform::Key::kC));
}

TEST_P(CaptureBothRoutes, UsersWholeClipboardComesBack) {
  {
    FakePlatform fake;  // a picture alone
    AddTarget(fake, GetParam(), "abc");
    fake.clipboardOther = {kPicture};
    EXPECT_EQ(CaptureText(fake, kTarget).text, "abc");
    EXPECT_FALSE(fake.clipboardHasText);
    EXPECT_TRUE(SameItems(fake.clipboardOther, {kPicture}));
  }
  {
    FakePlatform fake;  // formatted text: plain text beside other formats
    AddTarget(fake, GetParam(), "abc");
    UserText(fake, "T");
    fake.clipboardOther = {kPicture};
    EXPECT_EQ(CaptureText(fake, kTarget).text, "abc");
    EXPECT_EQ(fake.clipboardText, "T");
    EXPECT_TRUE(SameItems(fake.clipboardOther, {kPicture}));
  }
  {
    FakePlatform fake;  // nothing stays nothing: the selection is not left behind
    AddTarget(fake, GetParam(), "abc");
    EXPECT_EQ(CaptureText(fake, kTarget).text, "abc");
    EXPECT_FALSE(fake.clipboardHasText);
    EXPECT_TRUE(fake.clipboardOther.empty());
  }
}

TEST_P(CaptureBothRoutes, ClipboardKeptOpenByTheTargetIsReportedNotRestored) {
  FakePlatform fake;
  AddTarget(fake, GetParam(), "abc");
  fake.targets[kTarget].holdsClipboard = true;
  UserText(fake, "T");
  EXPECT_FALSE(CaptureText(fake, kTarget).clipboardRestored);

  FakePlatform fine;
  AddTarget(fine, GetParam(), "abc");
  UserText(fine, "T");
  EXPECT_TRUE(CaptureText(fine, kTarget).clipboardRestored);
}

// Another program holds the clipboard: nothing is sent to the target and
// the user's clipboard, never touched, counts as given back.
TEST_P(CaptureBothRoutes, ClipboardHeldByAnotherProgramIsLeftAlone) {
  FakePlatform fake;
  AddTarget(fake, GetParam(), "abc");
  UserText(fake, "T");
  fake.clipboardLocked = true;
  const auto captured = CaptureText(fake, kTarget);
  EXPECT_EQ(captured.text, "");
  EXPECT_TRUE(captured.clipboardRestored);
  EXPECT_EQ(fake.KeysAnywhere(), 0);
  EXPECT_EQ(fake.Count("Activate"), 0);
  EXPECT_EQ(fake.clipboardText, "T");
}

TEST_P(CaptureBothRoutes, EmptySelectionIsNothingNeverTheUsersOwnText) {
  FakePlatform fake;
  AddTarget(fake, GetParam(), "");
  UserText(fake, "user's");
  EXPECT_EQ(CaptureText(fake, kTarget).text, "");
  EXPECT_EQ(fake.clipboardText, "user's");
}

// The window CheckTarget found has closed, and another of the same title
// has opened since: nothing may reach the newcomer.
TEST_P(CaptureBothRoutes, ClosedTargetIsNotReplacedByAnotherOfTheSameTitle) {
  FakePlatform fake;
  AddTarget(fake, GetParam(), "abc");
  UserText(fake, "T");
  fake.windows.erase(kTarget);
  fake.windows[kOther].title = "Untitled - Notepad";
  fake.foreground = kOther;
  EXPECT_EQ(CaptureText(fake, kTarget).text, "");
  EXPECT_EQ(fake.KeysAnywhere(), 0);
  EXPECT_EQ(fake.clipboardText, "T");
}

TEST_P(CaptureBothRoutes, ForegroundTakenAtActivationReachesNoWindow) {
  FakePlatform fake;
  AddTarget(fake, GetParam(), "abc");
  UserText(fake, "T");
  fake.stealForegroundTo = kOther;
  EXPECT_EQ(CaptureText(fake, kTarget).text, "");
  EXPECT_EQ(fake.KeysAnywhere(), 0);
  EXPECT_EQ(fake.clipboardText, "T");
  EXPECT_LE(fake.now, 1000ms);
}

TEST_P(CaptureBothRoutes, HungTargetCostsOnlyABoundAndTheClipboardReturns) {
  FakePlatform fake;
  AddTarget(fake, GetParam(), "abc");
  fake.targets[kTarget].hung = true;
  UserText(fake, "T");
  EXPECT_EQ(CaptureText(fake, kTarget).text, "");
  EXPECT_LE(fake.now, 2000ms);
  EXPECT_EQ(fake.clipboardText, "T");
  EXPECT_TRUE(fake.KeysDown().empty());
}

// Unicode text comes back as it is; the legacy entry reads it through the
// Windows-1252 table, and a symbol font's U+F0xx codes as their low byte.
TEST_P(CaptureBothRoutes, UnicodeAsItIsLegacyThroughTheTable) {
  const std::string devanagari = "\u0928\u0947\u092A\u093E\u0932\u0940 \U0001F600";
  FakePlatform fake;
  AddTarget(fake, GetParam(), devanagari);
  EXPECT_EQ(CaptureText(fake, kTarget).text, devanagari);

  fake.targets[kTarget].selection = "\u20AC\u00E9\uF06B\uF0E6 k";
  EXPECT_EQ(CopyIT(fake, kTarget).text, "\x80\xE9k\xE6 k");
}

INSTANTIATE_TEST_SUITE_P(Target, CaptureBothRoutes, ::testing::Values(Route::kMessage, Route::kKeys),
                         RouteName);

TEST(CaptureByKeys, SlowTargetIsWaitedForAndSilentOneOnlyUntilTheBound) {
  FakePlatform slow;
  AddTarget(slow, Route::kKeys, "abc");
  slow.targets[kTarget].copyDelay = 300ms;
  UserText(slow, "T");
  EXPECT_EQ(CaptureText(slow, kTarget).text, "abc");
  EXPECT_EQ(slow.clipboardText, "T");

  FakePlatform silent;
  AddTarget(silent, Route::kKeys, "abc");
  silent.targets[kTarget].copyDelay = -1ms;
  UserText(silent, "T");
  EXPECT_EQ(CaptureText(silent, kTarget).text, "");
  EXPECT_GE(silent.now, 1000ms);
  EXPECT_LE(silent.now, 1100ms);
  EXPECT_EQ(silent.clipboardText, "T");
  EXPECT_TRUE(silent.KeysDown().empty());
}

// The system lets go of Ctrl between two pieces of input, as Wine does when
// the activated target syncs its keyboard state: a chord sent in pieces
// would type "c" over the selection.
TEST(CaptureByKeys, ControlLetGoBetweenInputsTypesNoStrayLetter) {
  FakePlatform fake;
  AddTarget(fake, Route::kKeys, "sel");
  fake.releaseModifiersBetweenInputs = true;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(CaptureText(fake, kTarget).text, "sel");
  EXPECT_EQ(fake.targets[kTarget].typed, "");
}

TEST(CaptureByKeys, KeysRefusedPartwayAreAllLetGo) {
  FakePlatform fake;
  AddTarget(fake, Route::kKeys, "sel");
  UserText(fake, "T");
  fake.acceptKeys = 2;  // Ctrl and C go down, their releases are refused once
  CaptureText(fake, kTarget).text;
  fake.acceptKeys = SIZE_MAX;
  EXPECT_TRUE(fake.KeysDown().empty());
  EXPECT_EQ(fake.clipboardText, "T");
}

// Notes the simulated time of the first key.
class ClockedFake : public FakePlatform {
 public:
  std::optional<std::chrono::milliseconds> firstKeyAt;
  std::size_t SendKeys(const std::vector<KeyStroke>& strokes) override {
    if (!firstKeyAt) firstKeyAt = now;
    return FakePlatform::SendKeys(strokes);
  }
};

TEST(CaptureByKeys, KeysWaitForTheUsersModifiersButNotForever) {
  ClockedFake briefly;
  AddTarget(briefly, Route::kKeys, "abc");
  briefly.modifiersHeldFor = 300ms;
  EXPECT_EQ(CaptureText(briefly, kTarget).text, "abc");
  ASSERT_TRUE(briefly.firstKeyAt.has_value());
  EXPECT_GE(*briefly.firstKeyAt, 300ms);
  EXPECT_LT(*briefly.firstKeyAt, 1000ms);

  ClockedFake stuck;
  AddTarget(stuck, Route::kKeys, "abc");
  stuck.modifiersHeldFor = 60000ms;
  EXPECT_EQ(CaptureText(stuck, kTarget).text, "abc");
  ASSERT_TRUE(stuck.firstKeyAt.has_value());
  EXPECT_GE(*stuck.firstKeyAt, 900ms);
  EXPECT_LE(*stuck.firstKeyAt, 1100ms);
}

}  // namespace
}  // namespace lk::target_link
