#include "target_link/typing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "target_fixture.h"

namespace lk::target_link {
namespace {

using platform::FakePlatform;
using platform::Key;
using platform::KeyStroke;
using namespace lk::testing;

void AddTarget(FakePlatform& fake, bool altNumpadEntry) {
  testing::AddTarget(fake, Route::kKeys);
  fake.altNumpadEntry = altNumpadEntry;
}

// Alt held over the keypad digits, each pressed and let go.
std::vector<KeyStroke> AltCode(const std::vector<int>& digits) {
  std::vector<KeyStroke> strokes{{Key::kAlt, false}};
  for (const int digit : digits) {
    strokes.push_back({platform::NumpadKey(digit), false});
    strokes.push_back({platform::NumpadKey(digit), true});
  }
  strokes.push_back({Key::kAlt, true});
  return strokes;
}

TEST(TypeIT, AltWithTheKeypadDigitsOnlyAndAltAlwaysLetGo) {
  FakePlatform fake;
  AddTarget(fake, true);
  fake.clipboardHasText = true;
  fake.clipboardText = "T";
  TypeIT(fake, kTarget, "0065");
  EXPECT_EQ(fake.StrokesTo(kTarget), AltCode({0, 0, 6, 5}));
  EXPECT_EQ(fake.clipboardText, "T");

  FakePlatform mixed;
  AddTarget(mixed, true);
  TypeIT(mixed, kTarget, "12a3");
  EXPECT_EQ(mixed.StrokesTo(kTarget), AltCode({1, 2, 3}));

  FakePlatform empty;
  AddTarget(empty, true);
  TypeIT(empty, kTarget, "");
  EXPECT_EQ(empty.StrokesTo(kTarget), AltCode({}));
  EXPECT_TRUE(empty.KeysDown().empty());
}

// With the modifiers let go between pieces of input, Alt must still hold
// over every digit: no digit may be typed as itself.
TEST(TypeIT, DigitsNeverStrayOutsideTheAlt) {
  FakePlatform fake;
  AddTarget(fake, true);
  fake.releaseModifiersBetweenInputs = true;
  TypeIT(fake, kTarget, "0233");
  TypeIT(fake, kTarget, "0065");
  EXPECT_EQ(fake.StrokesTo(kTarget).size(), 20u);
  EXPECT_EQ(fake.targets[kTarget].typed, "");
  EXPECT_TRUE(fake.KeysDown().empty());
}

TEST(TypeIT, WithoutAltNumpadTheCodePageCharacterIsTypedDirectly) {
  FakePlatform fake;
  AddTarget(fake, false);
  TypeIT(fake, kTarget, "0233");
  TypeIT(fake, kTarget, "0128");  // a code Windows-1252 moves out of Latin-1
  TypeIT(fake, kTarget, "0032");
  EXPECT_EQ(fake.typedUnicode, (std::vector<char16_t>{u'\u00E9', u'\u20AC', u' '}));
  EXPECT_EQ(fake.KeysTo(kTarget), 3);
  EXPECT_EQ(fake.KeysTo(kOther), 0);
}

TEST(TypeIT, NoWindowReachedTypesNothingEitherWay) {
  for (const bool altNumpad : {true, false}) {
    FakePlatform stolen;
    AddTarget(stolen, altNumpad);
    stolen.stealForegroundTo = kOther;
    TypeIT(stolen, kTarget, "0065");
    EXPECT_EQ(stolen.KeysAnywhere(), 0) << altNumpad;

    FakePlatform closed;
    AddTarget(closed, altNumpad);
    closed.windows.erase(kTarget);
    closed.foreground = kOther;
    TypeIT(closed, kTarget, "0065");
    EXPECT_EQ(closed.KeysAnywhere(), 0) << altNumpad;
  }
}

}  // namespace
}  // namespace lk::target_link
