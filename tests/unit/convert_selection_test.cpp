// The selection-conversion commands' own decisions: hotkey text, which legacy
// family, whether the selection is already in the asked-for form.
#include <gtest/gtest.h>

#include "commands/convert_selection.h"
#include "commands/hotkey.h"
#include "temp_dir.h"

namespace lk::commands {
namespace {

using convert::Direction;
using convert::LegacyFont;
using lk::testing::TempDir;

TEST(Hotkey, ReadsWhatAUserWrites) {
  const auto hotkey = ParseHotkey("Ctrl+Alt+Shift+U");
  ASSERT_TRUE(hotkey);
  EXPECT_EQ(hotkey->modifiers, Hotkey::kCtrl | Hotkey::kAlt | Hotkey::kShift);
  EXPECT_EQ(hotkey->key, 'U');
  EXPECT_EQ(ParseHotkey(" control + ALT + p "), (Hotkey{Hotkey::kCtrl | Hotkey::kAlt, 'P', false}));
  EXPECT_EQ(ParseHotkey("Win+F12"), (Hotkey{Hotkey::kWin, 12, true}));
  EXPECT_EQ(HotkeyText(*ParseHotkey("shift+ctrl+alt+u")), "Ctrl+Alt+Shift+U");
  EXPECT_EQ(HotkeyText(*ParseHotkey("Alt+F4")), "Alt+F4");
}

TEST(Hotkey, AnythingElseTurnsItOff) {
  for (const char* bad : {"", "U", "Shift+U", "Ctrl+", "Ctrl++U", "Ctrl+U+Alt", "Ctrl+Alt", "Ctrl+UU",
                          "Ctrl+F0", "Ctrl+F25", "Ctrl+F07", "Ctrl+Ctrl+U", "Ctrl+é", "Hyper+U", "+"}) {
    EXPECT_FALSE(ParseHotkey(bad)) << bad;
  }
}

TEST(Hotkey, MenuShowsOnlyARegisteredHotkey) {
  EXPECT_EQ(MenuCaption("Selection to Unicode", ParseHotkey("Ctrl+Alt+Shift+U")),
            "Selection to Unicode\tCtrl+Alt+Shift+U");
  EXPECT_EQ(MenuCaption("Selection to legacy font", std::nullopt), "Selection to legacy font");
}

TEST(ConversionFont, ChosenLegacyFamilyThenSettingThenPreeti) {
  TempDir dir;
  settings::SettingsStore store(dir.ini());
  EXPECT_EQ(ConversionFont("kantipur", store), LegacyFont::kKantipur);
  EXPECT_EQ(ConversionFont("PCS Nepali", store), LegacyFont::kPcsNepali);
  EXPECT_EQ(ConversionFont("Fontasy-Himali TT", store), LegacyFont::kFontasyHimaliTt);
  EXPECT_EQ(ConversionFont("Arial", store), LegacyFont::kPreeti);
  ASSERT_TRUE(store.Write("Convert", "LegacyFont", "Sagarmatha"));
  EXPECT_EQ(ConversionFont("Arial", store), LegacyFont::kSagarmatha);
  EXPECT_EQ(ConversionFont("Kantipur", store), LegacyFont::kKantipur);
  ASSERT_TRUE(store.Write("Convert", "LegacyFont", "Wingdings"));
  EXPECT_EQ(ConversionFont("", store), LegacyFont::kPreeti);
}

TEST(ConversionFont, AutomationSetsTheFamilyOfTheNewForm) {
  TempDir dir;
  settings::SettingsStore store(dir.ini());
  EXPECT_EQ(AutomationFontAfter(Direction::kToUnicode, LegacyFont::kPreeti, store), "Nirmala UI");
  EXPECT_EQ(AutomationFontAfter(Direction::kToLegacy, LegacyFont::kPcsNepali, store), "PCS NEPALI");
  ASSERT_TRUE(store.Write("Convert", "UnicodeFont", "Noto Sans Devanagari"));
  EXPECT_EQ(AutomationFontAfter(Direction::kToUnicode, LegacyFont::kPreeti, store), "Noto Sans Devanagari");
}

TEST(ConvertSelection, ConvertsBothWays) {
  auto outcome = ConvertSelection("g]kfn ;/sf/", Direction::kToUnicode, LegacyFont::kPreeti);
  EXPECT_EQ(outcome.paste, "नेपाल सरकार");
  EXPECT_FALSE(outcome.message);
  outcome = ConvertSelection("नेपाल सरकार", Direction::kToLegacy, LegacyFont::kPreeti);
  EXPECT_EQ(outcome.paste, "g]kfn ;/sf/");
  EXPECT_FALSE(outcome.message);
}

TEST(ConvertSelection, TextAlreadyInTheAskedForFormIsLeftAlone) {
  for (const char* unicode : {"नेपाल", "‘नेपाल’ – Nepal • 2024…"}) {
    const auto outcome = ConvertSelection(unicode, Direction::kToUnicode, LegacyFont::kPreeti);
    EXPECT_FALSE(outcome.paste) << unicode;
    ASSERT_TRUE(outcome.message);
    EXPECT_EQ(outcome.message->text, "The selection is already Unicode text.");
    EXPECT_EQ(outcome.message->style, platform::BoxStyle{platform::BoxKind::kInformation});
  }
  const auto outcome = ConvertSelection("g]kfn", Direction::kToLegacy, LegacyFont::kPreeti);
  EXPECT_FALSE(outcome.paste);
  ASSERT_TRUE(outcome.message);
  EXPECT_EQ(outcome.message->text, "The selection holds no Unicode Devanagari.");
}

TEST(ConvertSelection, HalfConvertedTextStillConverts) {
  // Devanagari beside codes only legacy text holds (‰ is झ्, Þ the nukta).
  const auto outcome = ConvertSelection("नेपाल ‰ ", Direction::kToUnicode, LegacyFont::kPreeti);
  ASSERT_TRUE(outcome.paste);
  EXPECT_EQ(*outcome.paste, "नेपाल झ् ");
  ASSERT_TRUE(outcome.message);  // the Devanagari had no legacy code to read
  EXPECT_EQ(outcome.message->text, "5 characters had no equivalent and were left as they were.");
}

TEST(ConvertSelection, CharactersWithoutEquivalentAreNamedButPasted) {
  auto outcome = ConvertSelection("नेपाल Nepal", Direction::kToLegacy, LegacyFont::kPreeti);
  EXPECT_EQ(outcome.paste, "g]kfn Nepal");
  ASSERT_TRUE(outcome.message);
  EXPECT_EQ(outcome.message->text, "5 characters had no equivalent and were left as they were.");
  outcome = ConvertSelection("क*", Direction::kToLegacy, LegacyFont::kPreeti);
  ASSERT_TRUE(outcome.message);
  EXPECT_EQ(outcome.message->text, "1 character had no equivalent and was left as it was.");
}

}  // namespace
}  // namespace lk::commands
