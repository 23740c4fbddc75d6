#include "target_link/paste_back.h"

#include <gtest/gtest.h>

#include <chrono>
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

std::vector<std::string> Pasted(FakePlatform& fake) { return fake.targets[kTarget].pasted; }

class PasteBothRoutes : public ::testing::TestWithParam<Route> {};

TEST_P(PasteBothRoutes, TargetReadsOurTextAndTheUsersTextReturnsUnmarked) {
  FakePlatform fake;
  AddTarget(fake, GetParam());
  UserText(fake, "T");
  EXPECT_TRUE(PasteText(fake, kTarget, "new").pasted);
  EXPECT_EQ(Pasted(fake), std::vector<std::string>{"new"});
  EXPECT_TRUE(fake.offerTaken);  // what the target read was our marked text
  EXPECT_EQ(fake.clipboardText, "T");
  EXPECT_FALSE(fake.clipboardMarked);
  EXPECT_TRUE(fake.KeysDown().empty());
  EXPECT_EQ(fake.KeysTo(kOther), 0);
  EXPECT_EQ(fake.targets[kTarget].typed, "");
  EXPECT_EQ(fake.StrokesTo(kTarget),
            GetParam() == Route::kMessage ? std::vector<KeyStroke>{} : Chord(platform::Key::kV));
}

// The user's own text again, and the same text twice from an empty
// clipboard (which keeps what was pasted): every one is pasted.
TEST_P(PasteBothRoutes, TextEqualToTheClipboardIsStillPasted) {
  FakePlatform fake;
  AddTarget(fake, GetParam());
  UserText(fake, "T");
  EXPECT_TRUE(PasteText(fake, kTarget, "T").pasted);
  EXPECT_EQ(fake.clipboardText, "T");

  FakePlatform empty;
  AddTarget(empty, GetParam());
  EXPECT_TRUE(PasteText(empty, kTarget, "abc").pasted);
  EXPECT_TRUE(PasteText(empty, kTarget, "abc").pasted);
  EXPECT_EQ(Pasted(empty), (std::vector<std::string>{"abc", "abc"}));
  EXPECT_TRUE(empty.clipboardHasText);
  EXPECT_EQ(empty.clipboardText, "abc");
}

TEST_P(PasteBothRoutes, EmptyTextOrAClipboardThatCannotBeSetPastesNothing) {
  FakePlatform none;
  AddTarget(none, GetParam());
  EXPECT_FALSE(PasteText(none, kTarget, "").pasted);
  EXPECT_EQ(none.Count("Activate"), 0);
  EXPECT_FALSE(none.clipboardHasText);

  FakePlatform locked;
  AddTarget(locked, GetParam());
  UserText(locked, "T");
  locked.clipboardLocked = true;
  const auto result = PasteText(locked, kTarget, "abc");
  EXPECT_FALSE(result.pasted);
  EXPECT_TRUE(result.clipboardRestored) << "untouched, so nothing to give back";
  EXPECT_EQ(locked.Count("Activate"), 0);
  EXPECT_EQ(locked.KeysAnywhere(), 0);
  EXPECT_TRUE(Pasted(locked).empty());
  EXPECT_EQ(locked.clipboardText, "T");
}

// A target that keeps the clipboard open after reading it: our text stays
// there, and the caller hears that the user's did not come back.
TEST_P(PasteBothRoutes, ClipboardKeptOpenByTheTargetIsReportedNotRestored) {
  FakePlatform fake;
  AddTarget(fake, GetParam());
  fake.targets[kTarget].holdsClipboard = true;
  UserText(fake, "T");
  const auto result = PasteText(fake, kTarget, "new");
  EXPECT_TRUE(result.pasted);
  EXPECT_FALSE(result.clipboardRestored);
  EXPECT_EQ(Pasted(fake), std::vector<std::string>{"new"});

  FakePlatform fine;
  AddTarget(fine, GetParam());
  UserText(fine, "T");
  EXPECT_TRUE(PasteText(fine, kTarget, "new").clipboardRestored);
}

TEST_P(PasteBothRoutes, PictureOnlyClipboardComesBackAfterThePaste) {
  FakePlatform fake;
  AddTarget(fake, GetParam());
  fake.clipboardOther = {ClipboardItem{2, "", {9, 8, 7}}};
  EXPECT_TRUE(PasteText(fake, kTarget, "abc").pasted);
  EXPECT_EQ(Pasted(fake), std::vector<std::string>{"abc"});
  EXPECT_FALSE(fake.clipboardHasText);
  ASSERT_EQ(fake.clipboardOther.size(), 1u);
  EXPECT_EQ(fake.clipboardOther[0].bytes, (std::vector<unsigned char>{9, 8, 7}));
}

TEST_P(PasteBothRoutes, NoWindowReachedLeavesNoTextOfOursBehind) {
  for (const bool closed : {false, true}) {
    for (const bool userHadText : {false, true}) {
      FakePlatform fake;
      AddTarget(fake, GetParam());
      if (userHadText) UserText(fake, "T");
      if (closed) {
        // Closed since the check, and another of the same title opened.
        fake.windows.erase(kTarget);
        fake.windows[kOther].title = "Untitled - Notepad";
        fake.foreground = kOther;
      } else {
        fake.stealForegroundTo = kOther;
      }
      EXPECT_FALSE(PasteText(fake, kTarget, "abc").pasted);
      EXPECT_EQ(fake.KeysAnywhere(), 0);
      EXPECT_TRUE(fake.targets[kOther].pasted.empty());
      EXPECT_EQ(fake.clipboardHasText, userHadText);
      EXPECT_FALSE(fake.clipboardMarked);
    }
  }
}

TEST_P(PasteBothRoutes, LegacyBytesBecomeTheirCharactersAndUnicodePassesThrough) {
  FakePlatform fake;
  AddTarget(fake, GetParam());
  EXPECT_TRUE(PasteIT(fake, kTarget, "\x80\xE6k\x81").pasted);
  const std::string devanagari = "\u0915\u094D\u0937 \u0968";
  EXPECT_TRUE(PasteText(fake, kTarget, devanagari).pasted);
  EXPECT_EQ(Pasted(fake), (std::vector<std::string>{"\u20AC\u00E6k\u0081", devanagari}));
}

INSTANTIATE_TEST_SUITE_P(Target, PasteBothRoutes, ::testing::Values(Route::kMessage, Route::kKeys),
                         RouteName);

// A target that reads the clipboard late, after keys or after answering
// the paste request at once, still gets the new text, not the restored one.
TEST(PasteBack, LateReaderGetsTheNewText) {
  for (const Route route : {Route::kKeys, Route::kMessage}) {
    FakePlatform fake;
    AddTarget(fake, route);
    fake.targets[kTarget].readDelay = 300ms;
    fake.targets[kTarget].deferPasteRequest = true;
    UserText(fake, "T");
    EXPECT_TRUE(PasteText(fake, kTarget, "new").pasted);
    EXPECT_EQ(Pasted(fake), std::vector<std::string>{"new"});
    EXPECT_GE(fake.now, 300ms);
    EXPECT_EQ(fake.clipboardText, "T");
  }
}

// An edit control's paste reads a small text put there whole; a large one,
// and one pasted by keys, is rendered when asked for, which tells us it was read.
TEST(PasteBack, SmallTextForAnEditIsPutThereWholeOtherwiseRenderedOnRequest) {
  using platform::Rendering;
  const struct {
    Route route;
    std::size_t size;
    Rendering rendering;
  } offers[] = {{Route::kMessage, 3, Rendering::kAtOnce},
                {Route::kMessage, kRenderAtOnceBytes, Rendering::kAtOnce},
                {Route::kMessage, kRenderAtOnceBytes + 1, Rendering::kOnRequest},
                {Route::kKeys, 3, Rendering::kOnRequest}};
  for (const auto& offer : offers) {
    FakePlatform fake;
    AddTarget(fake, offer.route);
    UserText(fake, "T");
    const std::string text(offer.size, 'x');
    EXPECT_TRUE(PasteText(fake, kTarget, text).pasted);
    EXPECT_EQ(fake.offerRendering, offer.rendering) << offer.size << " bytes";
    EXPECT_EQ(Pasted(fake), std::vector<std::string>{text});
    EXPECT_EQ(fake.clipboardText, "T");
  }
}

TEST(PasteBack, ControlLetGoBetweenInputsTypesNoStrayLetter) {
  FakePlatform fake;
  AddTarget(fake, Route::kKeys);
  fake.releaseModifiersBetweenInputs = true;
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(PasteText(fake, kTarget, "x").pasted);
  EXPECT_EQ(Pasted(fake).size(), 3u);
  EXPECT_EQ(fake.targets[kTarget].typed, "");
}

}  // namespace
}  // namespace lk::target_link
