// End-to-end cases of "Selection to Unicode" and "Selection to legacy font":
// Preeti text selected in notepad, Wordpad and a window playing Word becomes
// Unicode Devanagari and back, by global hotkey and from the toolbar's window
// menu, with the user's clipboard given back each time.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cases.h"
#include "check.h"
#include "control_ids.h"
#include "desktop_picture.h"
#include "input.h"
#include "office.h"
#include "session.h"
#include "target_link.h"
#include "toolbar_actions.h"
#include "toolbar_process.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {
namespace {

const std::wstring kPreeti = L"g]kfn ;/sf/sf] s'/f";          // नेपाल सरकारको कुरा, as Preeti's codes
const std::wstring kUnicode = L"नेपाल सरकारको कुरा";

UserClipboard UsersTextAndPicture() { return {L"the user's own text", MakeDib(8, 8, 42)}; }

void ToUnicodeHotkey() { PressKeys({VK_CONTROL, VK_MENU, VK_SHIFT, 'U'}); }
void ToLegacyHotkey() { PressKeys({VK_CONTROL, VK_MENU, VK_SHIFT, 'P'}); }

// The target first: until it has read the paste the clipboard is the
// toolbar's, and reading it then would hand the toolbar its own text back.
void ExpectConverted(const Toolbar& toolbar, const TargetApp& target, const std::wstring& before,
                     const std::wstring& expected, const UserClipboard& user, const std::string& what) {
  const RoundTrip trip = AwaitRoundTrip(target, before, user);
  ExpectRoundTrip(toolbar, target, trip, before, expected, user, what);
}

// The target comes to the front as a person brings it there, by its caption:
// a click into Wordpad's page was seen not to reach its text every time.
void SelectAllAndFocus(TargetApp& target, const std::wstring& text, const UserClipboard& user) {
  target.SetText(text);
  Clipboard::Instance().Put(user);
  ActivateByCaptionClick(target.Window());
  target.Select(0, -1);
}

// Converts all of `target` by hotkey one way, then back.
void ExpectBothWays(const Toolbar& toolbar, TargetApp& target, const std::string& where) {
  const UserClipboard user = UsersTextAndPicture();
  SelectAllAndFocus(target, kPreeti, user);
  ToUnicodeHotkey();
  ExpectConverted(toolbar, target, kPreeti, kUnicode, user, where + "after Ctrl+Alt+Shift+U");
  SelectAllAndFocus(target, kUnicode, user);
  ToLegacyHotkey();
  ExpectConverted(toolbar, target, kUnicode, kPreeti, user, where + "after Ctrl+Alt+Shift+P");
}

// No target named: each hotkey works on the window in front.
void HotkeyConvertsNotepadBothWays(const Context& context) {
  TargetRun run(context);
  ExpectBothWays(run.toolbar, run.target, "");
}

// The toolbar's window menu, opened at its icon: the two entries stand last
// and act on the target the target field names. (Wine keeps a menu's items in
// its own process, so their captions are checked by the unit tests.)
void WindowMenuConvertsTheTarget(const Context& context) {
  TargetRun run(context);
  SetTargetField(run.toolbar, run.target.Title());
  const UserClipboard user = UsersTextAndPicture();
  run.target.SetText(kPreeti);
  run.target.Select(0, -1);
  Clipboard::Instance().Put(user);

  LeftClickAt(SystemMenuPoint(run.toolbar.Window()));
  HWND popup = nullptr;
  Expect(WaitUntil(
             [&] {
               const auto menus = TopLevelWindows(run.toolbar.Pid(), L"", L"#32768");
               popup = menus.empty() ? nullptr : menus.front();
               return popup && IsWindowVisible(popup);
             },
             kUiTimeoutMs),
         "a click on the toolbar's icon did not open its window menu");
  // Up from nothing chosen is the last entry; once more, the one above it.
  PressKeys({VK_UP});
  PressKeys({VK_UP});
  PressKeys({VK_RETURN});
  ExpectConverted(run.toolbar, run.target, kPreeti, kUnicode, user, "after the menu's Selection to Unicode");
}

// A RichEdit target nobody here wrote.
void HotkeyConvertsWordpad(const Context& context) {
  TargetRun run(context, Target::kWordpad, std::nullopt);
  ExpectBothWays(run.toolbar, run.target, "in Wordpad ");
}

// A conversion in Word's window sets the selection's font through
// automation; one in notepad leaves the document in Word alone.
void WordWindowGetsTheUnicodeFont(const Context& context) {
  TargetRun run(context);
  OfficeStandIn word(context.exe, run.folder.Dir(), L"word", RECT{0, 560, 900, 850});
  Expect(ClassName(word.Document().Window()) == L"OpusApp",
         "the stand-in's window is of class " + Narrow(ClassName(word.Document().Window())));
  const UserClipboard user = UsersTextAndPicture();

  SelectAllAndFocus(run.target, kPreeti, user);
  ToUnicodeHotkey();
  ExpectConverted(run.toolbar, run.target, kPreeti, kUnicode, user, "in notepad");

  SelectAllAndFocus(word.Document(), kPreeti, user);
  ToUnicodeHotkey();
  ExpectConverted(run.toolbar, word.Document(), kPreeti, kUnicode, user, "in the Word window");
  // Had notepad's conversion reached Word, its font would stand first.
  word.ExpectLog("ready\nNirmala UI\n", "after the conversion in its window");
}

void PaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Expect(Responds(window), "a window does not answer messages");
}

}  // namespace

int ConversionPictures(const Context& context, const std::wstring& before, const std::wstring& after) {
  try {
    constexpr wchar_t kTestFont[] = L"Lekhopakar Test Legacy";
    Expect(FontInstalled(kTestFont), "the legacy test font is not installed in this prefix");
    // Notepad shows its text in the test font, as a legacy document is shown.
    HKEY key = nullptr;
    Expect(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Notepad", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                           &key, nullptr) == ERROR_SUCCESS,
           "cannot open notepad's settings");
    const DWORD points = 180;  // tenths of a point
    RegSetValueExW(key, L"lfFaceName", 0, REG_SZ, reinterpret_cast<const BYTE*>(kTestFont), sizeof kTestFont);
    RegSetValueExW(key, L"iPointSize", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&points), sizeof points);
    RegCloseKey(key);
    TargetRun run(context, Target::kNotepad, "[Font]\r\nLastFont=Lekhopakar Test Legacy\r\n");
    const Toolbar& toolbar = run.toolbar;
    TargetApp& notepad = run.target;
    // Short lines: Wine's edit control draws a long line of Devanagari as
    // boxes from some length on, whatever the font.
    const std::wstring legacy =
        L"g]kfn ;/sf/\r\nu[x dGqfno\r\nl;+xb/af/\r\nsf7df8f}+\r\nkl/rokq sfo{s|d.";
    const std::wstring unicode = L"नेपाल सरकार\r\nगृह मन्त्रालय\r\nसिंहदरबार\r\nकाठमाडौं\r\nपरिचयपत्र कार्यक्रम।";
    const UserClipboard user{L"the user's own text", {}};
    SelectAllAndFocus(notepad, legacy, user);
    PaintNow(notepad.Window());
    PaintNow(toolbar.Window());
    SaveDesktop(before);
    ToUnicodeHotkey();
    ExpectConverted(toolbar, notepad, legacy, unicode, user, "after Ctrl+Alt+Shift+U");
    // The legacy test font has no Unicode Devanagari, and notepad takes its
    // font at start: the converted text is shown again in a notepad started
    // with Lohit Devanagari, over the first one.
    Expect(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Notepad", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                           &key, nullptr) == ERROR_SUCCESS,
           "cannot open notepad's settings");
    constexpr wchar_t kUnicodeFont[] = L"Lohit Devanagari";
    RegSetValueExW(key, L"lfFaceName", 0, REG_SZ, reinterpret_cast<const BYTE*>(kUnicodeFont), sizeof kUnicodeFont);
    RegCloseKey(key);
    const std::wstring converted = notepad.Text();
    ShowWindow(notepad.Window(), SW_MINIMIZE);
    TargetApp shown = TargetApp::Notepad(run.folder.Dir());
    shown.SetText(converted);
    ActivateByCaptionClick(shown.Window());
    PaintNow(shown.Window());
    PaintNow(toolbar.Window());
    SaveDesktop(after);
    run.toolbar.Close();
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "conversion pictures failed: %s\n", error.what());
    return 1;
  }
}

std::vector<Case> ConvertCases() {
  return {
      {"convert_hotkey_notepad_both_ways", HotkeyConvertsNotepadBothWays},
      {"convert_window_menu_target", WindowMenuConvertsTheTarget},
      {"convert_hotkey_wordpad", HotkeyConvertsWordpad},
      {"convert_word_window_gets_unicode_font", WordWindowGetsTheUnicodeFont},
  };
}

}  // namespace lk::e2e
