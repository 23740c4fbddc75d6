// End-to-end cases of what the toolbar does to a target application: the
// edit commands on a real notepad selection, the keypad, the font choice with
// its Office automation, and the quick text. Everything a person would do is
// real input; results are read back from notepad, the clipboard and the
// Office stand-ins' logs.
#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "cases.h"
#include "check.h"
#include "control_ids.h"
#include "input.h"
#include "office.h"
#include "popups.h"
#include "session.h"
#include "target_link.h"
#include "toolbar_actions.h"
#include "toolbar_process.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {
namespace {

constexpr wchar_t kSans[] = L"DejaVu Sans";
constexpr wchar_t kSerif[] = L"DejaVu Serif";

void ExpectKeyCaption(const Toolbar& toolbar, int index, const std::wstring& expected) {
  ExpectCaption(toolbar, kFirstKey + index, expected, kUiTimeoutMs);
}

// --- the edit commands ------------------------------------------------------------

void EditCommandsOnSelection(const Context& context) {
  TargetRun run(context, Target::kNotepad, kFactoryNoFont);
  TypeTargetName(run.toolbar, run.target.Title());
  // No button twice in a row: a quick second click is a double click, which
  // has a case of its own.
  const struct {
    int button;
    const wchar_t* before;
    const wchar_t* after;
  } edits[] = {
      {1, L"ls", L"sL"},
      {2, L"g'", L"g\""},
      {1, L"  ls ", L"sL"},  // trimmed before the test, blanks lost
      {3, L"g]kfn", L"-g]kfn_"},
      {4, L"ldq", L"\u00E6ldq\u00C6"},
      {3, L" \u00E9\u2026 ", L"- \u00E9\u2026 _"},  // untrimmed; codes 233 and 133 round-trip
      {5, L"rfa]n", L"\u2026rfa]n\u00DA"},
      {6, L"x", L"==="},
      {7, L"one two three", L"two three one"},
  };
  int step = 0;
  for (const auto& edit : edits) {
    const UserClipboard user{L"user clipboard \u00E9 " + std::to_wstring(++step), {}};
    PrepareTarget(run.target, edit.before, 0, -1, user);
    const RoundTrip trip = ClickAndAwait(run.toolbar, kCommand1 + edit.button - 1, run.target, edit.before, user);
    ExpectRoundTrip(run.toolbar, run.target, trip, edit.before, edit.after, user,
                    "after Command" + std::to_string(edit.button) + " on " + Quote(edit.before));
  }
}

void InvalidSelectionLeavesNotepad(const Context& context) {
  TargetRun run(context, Target::kNotepad, kFactoryNoFont);
  TypeTargetName(run.toolbar, run.target.Title());
  const UserClipboard user{std::wstring(L"user clipboard \u20AC"), {}};
  PrepareTarget(run.target, L"xs", 0, -1, user);
  ClickControl(run.toolbar, kCommand1);
  AnswerMessageBox(run.toolbar, L"Invalid Selection", "after Command1 on \"xs\"");
  Expect(run.target.Text() == L"xs",
         "notepad holds " + Quote(run.target.Text()) + " after the message, expected \"xs\" unchanged");
  ExpectClipboard(user, "after the message");
}

// --- keypad and font choice --------------------------------------------------------

struct KeyClick {
  int index;
  const wchar_t* shows;  // notepad's text afterwards
};

// Notepad, named in the target field, holds `before` with the caret at its
// end; a click on a key has typed its character once notepad shows it and
// the toolbar answers again.
void ExpectKeysType(TargetRun& run, const std::wstring& before, std::initializer_list<KeyClick> clicks) {
  TypeTargetName(run.toolbar, run.target.Title());
  run.target.SetText(before);
  const int end = static_cast<int>(before.size());
  run.target.ClickAndSelect(end, end);
  for (const KeyClick& click : clicks) {
    ClickControl(run.toolbar, kFirstKey + click.index);
    run.target.ExpectText(click.shows, "after a click on key " + std::to_string(kFirstKey + click.index));
    Expect(Responds(run.toolbar.Window()), "the toolbar does not answer after typing");
  }
}

void KeypadTypesChosenCharacters(const Context& context) {
  TargetRun run(context, Target::kNotepad, kFactoryNoFont);
  ExpectKeyCaption(run.toolbar, 33, L"");
  ChooseFont(run.toolbar, kSans);
  // Captions are the codes through Windows-1252, the undefined 0x81 included.
  const struct {
    int index;
    const wchar_t* caption;
  } captions[] = {{0, L" "}, {33, L"A"}, {96, L"\u20AC"}, {97, L"\u0081"}, {201, L"\u00E9"}, {223, L"\u00FF"}};
  for (const auto& key : captions) ExpectKeyCaption(run.toolbar, key.index, key.caption);
  ExpectKeysType(run, L"xy", {{33, L"xyA"}, {201, L"xyA\u00E9"}});
}

// A letter typed twice: the second click on the key, soon after the first
// (within the double-click time), is a click of its own.
void KeypadQuickSecondClickTypesAgain(const Context& context) {
  TargetRun run(context, Target::kNotepad, kFactoryNoFont);
  ChooseFont(run.toolbar, kSans);
  ExpectKeysType(run, L"x", {{76, L"xl"}, {76, L"xll"}});
}

void KeypadWithoutFontAsksForOne(const Context& context) {
  ToolbarRun run(context, kFactoryNoFont);
  HWND fonts = run.toolbar.Control(kFonts);
  Expect(ComboSelection(fonts) == CB_ERR,
         "a font is chosen at start: " + Quote(ComboItem(fonts, ComboSelection(fonts))));
  // The target field is empty too: the font message must come first and alone.
  ClickControl(run.toolbar, kFirstKey + 33);
  AnswerMessageBox(run.toolbar, L"Please select a font from the list.", "after a key click without a font");
  Expect(WaitUntil([&] { return SendOrFail(fonts, CB_GETDROPPEDSTATE, 0, 0) != 0; }, kUiTimeoutMs),
         "the font list is not dropped down after the message");
  Expect(MessageBoxes(run.toolbar.Pid()).empty(),
         "the target check ran after the font message" + DescribePopups(run.toolbar));
}

// --- quick text ---------------------------------------------------------------------

void QuickTextAddsAndPastes(const Context& context) {
  TargetRun run(context, Target::kNotepad, kFactoryNoFont);
  const Toolbar& toolbar = run.toolbar;
  TypeTargetName(toolbar, run.target.Title());

  HWND combo = toolbar.Control(kQuickText);
  HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
  Expect(edit != nullptr, "the quick-text box has no Edit part");
  // The target field lies over the box's left part until the box has the focus.
  const RECT editRect = ScreenRect(edit);
  const RECT field = ScreenRect(toolbar.Control(kTargetField));
  const int left = std::max(editRect.left, field.right);
  Expect(left < editRect.right, "no part of the quick-text box can be clicked");
  LeftClickAt({(left + editRect.right) / 2, (editRect.top + editRect.bottom) / 2});
  Expect(WaitUntil([&] { return FocusOf(edit) == edit; }, kUiTimeoutMs),
         "a click into the quick-text box did not give it the focus");

  const auto expectShown = [&](const std::wstring& expected, const std::string& after) {
    const std::wstring shown = ReadUntil([&] { return WindowText(combo); }, expected, kUiTimeoutMs);
    Expect(shown == expected, "the quick-text box shows " + Quote(shown) + " " + after);
  };
  TypeText(L"abc");
  expectShown(L"abc", "after typing \"abc\"");
  PressKeys({VK_RETURN});
  Expect(WaitUntil([&] { return ComboCount(combo) == 1; }, kUiTimeoutMs),
         "the quick-text list has " + std::to_string(ComboCount(combo)) + " entries after Enter, expected 1");
  Expect(ComboItem(combo, 0) == L"abc", "the quick-text entry is " + Quote(ComboItem(combo, 0)));
  Expect(WindowText(combo).empty(), "the quick-text box still shows " + Quote(WindowText(combo)) + " after Enter");

  TypeText(L"xyz");
  expectShown(L"xyz", "after typing \"xyz\"");
  const UserClipboard user{std::wstring(L"user clipboard"), {}};
  PrepareTarget(run.target, L"one sel two", 4, 7, user);
  const RoundTrip trip = ClickAndAwait(toolbar, kMarker, run.target, L"one sel two", user);
  ExpectRoundTrip(toolbar, run.target, trip, L"one sel two", L"one xyz two", user, "after a click on the marker");
  Expect(ComboCount(combo) == 1, "text pasted without Enter was added to the quick-text list");
}

// --- Office automation through the stand-ins ----------------------------------------

// Each choice is checked after the next one has reached a log: the toolbar
// handles one choice at a time, so a font that a choice must not send would
// be in the log before the next one's.
void OfficeFontFollowsTargetName(const Context& context) {
  ToolbarRun run(context, kFactoryNoFont);
  const Toolbar& toolbar = run.toolbar;
  OfficeStandIn word(context.exe, run.folder.Dir(), L"word");
  OfficeStandIn excel(context.exe, run.folder.Dir(), L"excel");

  TypeTargetName(toolbar, kNotepadTitle);  // names neither
  ChooseFont(toolbar, kSans);
  ExpectKeyCaption(toolbar, 33, L"A");

  TypeTargetName(toolbar, L"Doc1 - Microsoft Word");
  ChooseFont(toolbar, kSerif);
  word.ExpectLog("ready\nDejaVu Serif\n", "after choosing DejaVu Serif for \"Doc1 - Microsoft Word\"");

  // Both names, in other letter cases: Word's step, then Excel's.
  TypeTargetName(toolbar, L"microsoft WORD and Microsoft excel");
  ChooseFont(toolbar, kSans);
  word.ExpectLog("ready\nDejaVu Serif\nDejaVu Sans\n", "after choosing DejaVu Sans for both");
  excel.ExpectLog("ready\nDejaVu Sans\n", "after choosing DejaVu Sans for both");
  Expect(MessageBoxes(toolbar.Pid()).empty(), "a dialog is open" + DescribePopups(toolbar));
}

void OfficeWordNotRunningSkipsExcel(const Context& context) {
  ToolbarRun run(context, kFactoryNoFont);
  const Toolbar& toolbar = run.toolbar;
  OfficeStandIn excel(context.exe, run.folder.Dir(), L"excel");

  TypeTargetName(toolbar, L"Microsoft Word and Microsoft Excel");
  ChooseFont(toolbar, kSans);
  ExpectKeyCaption(toolbar, 33, L"A");

  // The same Excel is reached once Word is no longer named.
  TypeTargetName(toolbar, L"Book1 - Microsoft Excel");
  ChooseFont(toolbar, kSerif);
  excel.ExpectLog("ready\nDejaVu Serif\n", "after choosing DejaVu Serif for \"Book1 - Microsoft Excel\"");
  Expect(MessageBoxes(toolbar.Pid()).empty(), "a dialog is open" + DescribePopups(toolbar));
}

}  // namespace

std::vector<Case> CommandCases() {
  return {
      {"edit_commands_on_notepad_selection", EditCommandsOnSelection},
      {"edit_command_invalid_selection_message", InvalidSelectionLeavesNotepad},
      {"keypad_types_chosen_font_characters", KeypadTypesChosenCharacters},
      {"keypad_quick_second_click_types_again", KeypadQuickSecondClickTypesAgain},
      {"keypad_without_font_asks_for_one", KeypadWithoutFontAsksForOne},
      {"quick_text_adds_on_enter_and_marker_pastes", QuickTextAddsAndPastes},
      {"office_font_follows_target_name", OfficeFontFollowsTargetName},
      {"office_word_not_running_skips_excel", OfficeWordNotRunningSkipsExcel},
  };
}

}  // namespace lk::e2e
