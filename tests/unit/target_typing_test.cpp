#include "target_link/typing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_platform.h"

namespace lk::target_link {
namespace {

using platform::FakePlatform;
using platform::KeyStroke;
using platform::WindowHandle;

constexpr WindowHandle kTarget = 10;
constexpr WindowHandle kOther = 20;

void AddTarget(FakePlatform& fake, bool altNumpadEntry) {
  fake.windows[kTarget] = {"Untitled - Notepad", true, true, {}};
  fake.windows[kOther] = {"Other", true, true, {}};
  fake.targets[kTarget];
  fake.altNumpadEntry = altNumpadEntry;
}

std::vector<KeyStroke> AltCode(const std::vector<unsigned char>& keypad) {
  std::vector<KeyStroke> strokes{{0x12, false}};
  for (const auto key : keypad) {
    strokes.push_back({key, false});
    strokes.push_back({key, true});
  }
  strokes.push_back({0x12, true});
  return strokes;
}

TEST(TypeIT, AltWithTheKeypadDigitsOnlyAndAltAlwaysLetGo) {
  FakePlatform fake;
  AddTarget(fake, true);
  fake.clipboardHasText = true;
  fake.clipboardText = "T";
  TypeIT(fake, kTarget, "0065");
  EXPECT_EQ(fake.StrokesTo(kTarget), AltCode({0x60, 0x60, 0x66, 0x65}));
  EXPECT_EQ(fake.clipboardText, "T");

  FakePlatform mixed;
  AddTarget(mixed, true);
  TypeIT(mixed, kTarget, "12a3");
  EXPECT_EQ(mixed.StrokesTo(kTarget), AltCode({0x61, 0x62, 0x63}));

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
