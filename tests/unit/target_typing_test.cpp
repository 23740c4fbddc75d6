#include "target/typing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"

namespace lk::target {
namespace {

using platform::FakePlatform;
using platform::WindowHandle;

constexpr WindowHandle kNotepad = 10;
constexpr WindowHandle kOther = 20;
const char* const kName = "Untitled - Notepad";

void AddNotepad(FakePlatform& fake, bool altNumpadEntry) {
  fake.windows[kNotepad] = {kName, true, true, {}};
  fake.windows[kOther] = {"Other", true, true, {}};
  fake.altNumpadEntry = altNumpadEntry;
}

std::vector<std::string> KeyEvents(const FakePlatform& fake) {
  std::vector<std::string> out;
  for (const auto& call : fake.calls)
    if (call.rfind("Key", 0) == 0) out.push_back(call);
  return out;
}

std::vector<std::string> Tap(const std::string& key) {
  return {"ScanCode " + key, "KeyDown " + key + " scan " + key, "ScanCode " + key, "KeyUp " + key + " scan " + key};
}

TEST(TypeIT, AltNumpadSequenceHasNoYieldBetweenDigits) {
  FakePlatform fake;
  AddNotepad(fake, true);
  fake.clipboardHasText = true;
  fake.clipboardText = "T";
  TypeIT(fake, kName, "0065");

  std::vector<std::string> want = {"Activate Untitled - Notepad", "Yield", "Yield", "WaitUntil", "WaitUntil",
                                   "ScanCode 0x12", "KeyDown 0x12 scan 0x12", "Yield", "Yield"};
  for (const char* key : {"0x60", "0x60", "0x66", "0x65"}) {
    const auto tap = Tap(key);
    want.insert(want.end(), tap.begin(), tap.end());
  }
  want.insert(want.end(), {"Yield", "ScanCode 0x12", "KeyUp 0x12 scan 0x12", "Yield", "Yield", "Yield"});
  EXPECT_EQ(fake.calls, want);
  EXPECT_EQ(fake.KeyEventsTo(kNotepad), 10);
  EXPECT_EQ(fake.clipboardText, "T");
}

TEST(TypeIT, OnlyDigitsAreTypedAndNoDigitsStillPressesAlt) {
  FakePlatform fake;
  AddNotepad(fake, true);
  TypeIT(fake, kName, "12a3");
  EXPECT_EQ(KeyEvents(fake), (std::vector<std::string>{
                                 "KeyDown 0x12 scan 0x12", "KeyDown 0x61 scan 0x61", "KeyUp 0x61 scan 0x61",
                                 "KeyDown 0x62 scan 0x62", "KeyUp 0x62 scan 0x62", "KeyDown 0x63 scan 0x63",
                                 "KeyUp 0x63 scan 0x63", "KeyUp 0x12 scan 0x12"}));

  FakePlatform empty;
  AddNotepad(empty, true);
  TypeIT(empty, kName, "");
  EXPECT_EQ(KeyEvents(empty), (std::vector<std::string>{"KeyDown 0x12 scan 0x12", "KeyUp 0x12 scan 0x12"}));
}

TEST(TypeIT, WithoutAltNumpadTheCodePageCharacterIsTypedDirectly) {
  FakePlatform fake;
  AddNotepad(fake, false);
  TypeIT(fake, kName, "0233");
  TypeIT(fake, kName, "0128");  // a code Windows-1252 moves out of Latin-1
  TypeIT(fake, kName, "0032");
  EXPECT_EQ(fake.typedUnicode, (std::vector<char16_t>{u'\u00E9', u'\u20AC', u' '}));
  EXPECT_EQ(fake.Count("Key"), 0);
  EXPECT_EQ(fake.KeyEventsTo(kNotepad), 3);
}

TEST(TypeIT, ForegroundTakenTypesNothingEitherWay) {
  for (const bool altNumpad : {true, false}) {
    FakePlatform fake;
    AddNotepad(fake, altNumpad);
    fake.stealForegroundTo = kOther;
    TypeIT(fake, kName, "0065");
    EXPECT_EQ(fake.KeyEventsTo(kNotepad) + fake.KeyEventsTo(kOther), 0) << altNumpad;
  }
}

}  // namespace
}  // namespace lk::target
