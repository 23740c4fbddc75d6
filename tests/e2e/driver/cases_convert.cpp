// End-to-end cases of "Selection to Unicode" and "Selection to legacy font":
// Preeti text selected in notepad and a window playing Word becomes Unicode
// Devanagari and back, formatted text in Wordpad keeps its formatting, by global hotkey and from the toolbar's window
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
#include "rtf_runs.h"
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

// Wordpad's document as RTF: a bold Nepali word, an English word in Arial
// and a plain Nepali word, in the legacy family or in a Unicode font.
std::string WordpadRtf(const std::string& nepaliFont, const std::string& first, const std::string& second) {
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 " + nepaliFont +
         ";}{\\f1\\fswiss\\fcharset0 Arial;}}\\f0\\b " + first + "\\b0\\f1  Hello \\f0 " + second + "}";
}
const std::string kLegacyRtf = WordpadRtf("Preeti", "g]kfn", ";/sf/");
const std::string kUnicodeRtf = WordpadRtf("Nirmala UI", "\\u2344?\\u2375?\\u2346?\\u2366?\\u2354?",
                                           "\\u2360?\\u2352?\\u2325?\\u2366?\\u2352?");
const std::wstring kRichLegacy = L"g]kfn Hello ;/sf/";
const std::wstring kRichUnicode = L"नेपाल Hello सरकार";

bool Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kUiTimeoutMs, &result) != 0;
}

// The way a person fills Wordpad with formatted text: pasted from the
// clipboard (its WM_SETTEXT takes RTF from ANSI callers only).
void PasteRtfAndSelectAll(TargetApp& wordpad, const std::string& rtf, const std::wstring& text,
                          const UserClipboard& user) {
  wordpad.SetText(L"");
  ActivateByCaptionClick(wordpad.Window());
  Clipboard::Instance().Put({std::nullopt, std::nullopt, rtf});
  Expect(Send(wordpad.Edit(), WM_PASTE), "Wordpad does not answer WM_PASTE");
  Expect(WaitUntil([&] { return wordpad.Text() == text; }, kUiTimeoutMs),
         "Wordpad holds " + Quote(wordpad.Text()) + " after pasting RTF, expected " + Quote(text));
  Clipboard::Instance().Put(user);
  wordpad.Select(0, -1);
}

// What Wordpad holds, read back as it writes it: all of it copied as RTF.
std::vector<RtfChar> WordpadContents(TargetApp& wordpad) {
  wordpad.Select(0, -1);
  Clipboard::Instance().Clear();
  Expect(Send(wordpad.Edit(), WM_COPY), "Wordpad does not answer WM_COPY");
  UserClipboard copied;
  Expect(WaitUntil(
             [&] {
               copied = Clipboard::Instance().Read();
               return copied.rtf.has_value();
             },
             kUiTimeoutMs, 20),
         "Wordpad put no rich text on the clipboard; it holds " + Describe(copied));
  return RtfChars(*copied.rtf);
}

void ExpectWord(const std::vector<RtfChar>& chars, const std::wstring& word, const std::wstring& font, bool bold,
                const std::string& what) {
  const std::vector<RtfChar> found = RtfWord(chars, word);
  Expect(!found.empty(), "Wordpad's RTF holds no " + Quote(word) + " " + what);
  for (const RtfChar& c : found) {
    Expect(c.font == font, Quote(word) + " is in " + Quote(c.font) + " " + what + ", expected " + Quote(font));
    Expect(c.bold == bold, Quote(word) + (bold ? " is not bold " : " is bold ") + what);
  }
}

// A RichEdit target nobody here wrote, holding formatted text: converted by
// hotkey both ways, the Nepali words change and take the other font, bold
// stays where it was, the English word stays in Arial; the user's clipboard,
// rich text and all, comes back.
void HotkeyConvertsWordpadKeepingFormatting(const Context& context) {
  TargetRun run(context, Target::kWordpad, std::nullopt);
  TargetApp& wordpad = run.target;
  UserClipboard user = UsersTextAndPicture();
  user.rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}}\\f0\\i the user's own rich text}";

  PasteRtfAndSelectAll(wordpad, kLegacyRtf, kRichLegacy, user);
  ToUnicodeHotkey();
  ExpectConverted(run.toolbar, wordpad, kRichLegacy, kRichUnicode, user, "in Wordpad after Ctrl+Alt+Shift+U");
  auto chars = WordpadContents(wordpad);
  const std::string toUnicode = "after Ctrl+Alt+Shift+U";
  ExpectWord(chars, L"नेपाल", L"Nirmala UI", true, toUnicode);
  ExpectWord(chars, L"Hello", L"Arial", false, toUnicode);
  ExpectWord(chars, L"सरकार", L"Nirmala UI", false, toUnicode);

  PasteRtfAndSelectAll(wordpad, kUnicodeRtf, kRichUnicode, user);
  ToLegacyHotkey();
  ExpectConverted(run.toolbar, wordpad, kRichUnicode, kRichLegacy, user, "in Wordpad after Ctrl+Alt+Shift+P");
  chars = WordpadContents(wordpad);
  const std::string toLegacy = "after Ctrl+Alt+Shift+P";
  ExpectWord(chars, L"g]kfn", L"Preeti", true, toLegacy);
  ExpectWord(chars, L"Hello", L"Arial", false, toLegacy);
  ExpectWord(chars, L";/sf/", L"Preeti", false, toLegacy);
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

int WordpadPictures(const Context& context, const std::wstring& before, const std::wstring& after) {
  try {
    constexpr wchar_t kTestFont[] = L"Lekhopakar Test Legacy";
    Expect(FontInstalled(kTestFont), "the legacy test font is not installed in this prefix");
    // Neither Preeti nor Nirmala UI is installed here: Wine draws a font it
    // lacks in the one its replacements name, as a person's machine would
    // draw them in the real ones.
    HKEY key = nullptr;
    Expect(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Fonts\\Replacements", 0, nullptr, 0, KEY_SET_VALUE,
                           nullptr, &key, nullptr) == ERROR_SUCCESS,
           "cannot open Wine's font replacements");
    constexpr wchar_t kUnicodeFont[] = L"Lohit Devanagari";
    RegSetValueExW(key, L"Preeti", 0, REG_SZ, reinterpret_cast<const BYTE*>(kTestFont), sizeof kTestFont);
    RegSetValueExW(key, L"Nirmala UI", 0, REG_SZ, reinterpret_cast<const BYTE*>(kUnicodeFont), sizeof kUnicodeFont);
    RegCloseKey(key);
    TargetRun run(context, Target::kWordpad, "[Font]\r\nLastFont=Lekhopakar Test Legacy\r\n");
    TargetApp& wordpad = run.target;
    const std::string legacy =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Preeti;}{\\f1\\fswiss\\fcharset0 Arial;}}"
        "\\fs40\\f0\\b g]kfn ;/sf/\\b0\\f1  (Government of Nepal)\\par\\f0 u[x dGqfno\\f1  Home Ministry\\par"
        "\\f0 l;+xb/af/\\f1 , \\i Kathmandu\\i0}";
    const std::wstring legacyText =
        L"g]kfn ;/sf/ (Government of Nepal)\r\nu[x dGqfno Home Ministry\r\nl;+xb/af/, Kathmandu";
    const UserClipboard user{L"the user's own text", {}, {}};
    PasteRtfAndSelectAll(wordpad, legacy, legacyText, user);
    PaintNow(wordpad.Window());
    PaintNow(run.toolbar.Window());
    SaveDesktop(before);
    ToUnicodeHotkey();
    const RoundTrip trip = AwaitRoundTrip(wordpad, legacyText, user);
    Expect(trip.changed && trip.restored, "Wordpad holds " + Quote(trip.text) + " after Ctrl+Alt+Shift+U");
    wordpad.Select(0, 0);
    PaintNow(wordpad.Window());
    PaintNow(run.toolbar.Window());
    SaveDesktop(after);
    run.toolbar.Close();
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "Wordpad pictures failed: %s\n", error.what());
    return 1;
  }
}

std::vector<Case> ConvertCases() {
  return {
      {"convert_hotkey_notepad_both_ways", HotkeyConvertsNotepadBothWays},
      {"convert_window_menu_target", WindowMenuConvertsTheTarget},
      {"convert_hotkey_wordpad_keeps_formatting", HotkeyConvertsWordpadKeepingFormatting},
      {"convert_word_window_gets_unicode_font", WordWindowGetsTheUnicodeFont},
  };
}

}  // namespace lk::e2e
