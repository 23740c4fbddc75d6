// End-to-end cases of "Selection to Unicode" and "Selection to legacy font":
// Preeti text selected in notepad, Wordpad and a window playing Word becomes
// Unicode Devanagari and back, by global hotkey and from the toolbar's window
// menu, with the user's clipboard given back each time.
#include <windows.h>

#include <string>
#include <vector>

#include "cases.h"
#include "check.h"
#include "control_ids.h"
#include "input.h"
#include "office.h"
#include "target_link.h"
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
void ExpectConverted(const Toolbar& toolbar, const TargetApp& target, const std::wstring& expected,
                     const UserClipboard& user, const std::string& what) {
  std::wstring now;
  const bool converted = WaitUntil(
      [&] {
        now = target.Text();
        return now == expected;
      },
      kUiTimeoutMs);
  Expect(converted, "the target holds " + Quote(now) + " " + what + ", expected " + Quote(expected) +
                        DescribePopups(toolbar));
  UserClipboard seen;
  const bool back = WaitUntil(
      [&] {
        seen = Clipboard::Instance().Read();
        return SameClipboard(seen, user);
      },
      kUiTimeoutMs, 20);
  Expect(back, "the clipboard holds " + Describe(seen) + " " + what + ", expected the user's " + Describe(user));
  Expect(MessageBoxes(toolbar.Pid()).empty(), "a message box is open " + what + DescribePopups(toolbar));
}

// The target comes to the front as a person brings it there, by its caption:
// a click into Wordpad's page was seen not to reach its text every time.
void SelectAllAndFocus(TargetApp& target, const std::wstring& text, const UserClipboard& user) {
  target.SetText(text);
  Clipboard::Instance().Put(user);
  ActivateByCaptionClick(target.Window());
  target.Select(0, -1);
}

// No target named: each hotkey works on the window in front.
void HotkeyConvertsNotepadBothWays(const Context& context) {
  NotepadSession session(context.exe, context.workDir, L"convert_hotkey_notepad");
  const UserClipboard user = UsersTextAndPicture();
  SelectAllAndFocus(session.notepad, kPreeti, user);
  ToUnicodeHotkey();
  ExpectConverted(session.toolbar, session.notepad, kUnicode, user, "after Ctrl+Alt+Shift+U");

  SelectAllAndFocus(session.notepad, kUnicode, user);
  ToLegacyHotkey();
  ExpectConverted(session.toolbar, session.notepad, kPreeti, user, "after Ctrl+Alt+Shift+P");
}

// The toolbar's window menu, opened at its icon: the two entries stand last
// and act on the target the target field names. (Wine keeps a menu's items in
// its own process, so their captions are checked by the unit tests.)
void WindowMenuConvertsTheTarget(const Context& context) {
  NotepadSession session(context.exe, context.workDir, L"convert_window_menu");
  SetTargetField(session.toolbar, session.Title());
  const UserClipboard user = UsersTextAndPicture();
  session.notepad.SetText(kPreeti);
  session.notepad.Select(0, -1);
  Clipboard::Instance().Put(user);

  LeftClickAt(SystemMenuPoint(session.toolbar.Window()));
  HWND popup = nullptr;
  Expect(WaitUntil(
             [&] {
               const auto menus = TopLevelWindows(session.toolbar.Pid(), L"", L"#32768");
               popup = menus.empty() ? nullptr : menus.front();
               return popup && IsWindowVisible(popup);
             },
             kUiTimeoutMs),
         "a click on the toolbar's icon did not open its window menu");
  // Up from nothing chosen is the last entry; once more, the one above it.
  PressKeys({VK_UP});
  PressKeys({VK_UP});
  PressKeys({VK_RETURN});
  ExpectConverted(session.toolbar, session.notepad, kUnicode, user, "after the menu's Selection to Unicode");
}

// A RichEdit target nobody here wrote.
void HotkeyConvertsWordpad(const Context& context) {
  ProgramFolder folder(context.exe, context.workDir, L"convert_wordpad");
  Toolbar toolbar(folder.ExePath(), folder.Dir());
  TargetApp wordpad = TargetApp::Wordpad(folder.Dir());
  const UserClipboard user = UsersTextAndPicture();
  SelectAllAndFocus(wordpad, kPreeti, user);
  ToUnicodeHotkey();
  ExpectConverted(toolbar, wordpad, kUnicode, user, "in Wordpad after Ctrl+Alt+Shift+U");
  SelectAllAndFocus(wordpad, kUnicode, user);
  ToLegacyHotkey();
  ExpectConverted(toolbar, wordpad, kPreeti, user, "in Wordpad after Ctrl+Alt+Shift+P");
}

// A conversion in Word's window sets the selection's font through
// automation; one in notepad leaves the document in Word alone.
void WordWindowGetsTheUnicodeFont(const Context& context) {
  RegisterOfficeClasses();
  NotepadSession session(context.exe, context.workDir, L"convert_word_font");
  const std::wstring log = session.folder.Dir() + L"\\word.log";
  DeleteFileW(log.c_str());
  TargetApp word(OfficeStandInPath(context.exe), session.folder.Dir(), L"Document1 - Word", RECT{0, 560, 900, 850},
                 L"Edit", L"word \"" + log + L"\" window");
  Expect(WaitUntil([&] { return ReadLog(log) == "ready\n"; }, kStartTimeoutMs, 20),
         "the Word stand-in did not get ready; its log: " + QuoteBytes(ReadLog(log)));
  Expect(ClassName(word.Window()) == L"OpusApp", "the stand-in's window is of class " +
                                                     Narrow(ClassName(word.Window())));
  const UserClipboard user = UsersTextAndPicture();

  SelectAllAndFocus(session.notepad, kPreeti, user);
  ToUnicodeHotkey();
  ExpectConverted(session.toolbar, session.notepad, kUnicode, user, "in notepad");

  SelectAllAndFocus(word, kPreeti, user);
  ToUnicodeHotkey();
  ExpectConverted(session.toolbar, word, kUnicode, user, "in the Word window");
  std::string seen;
  const bool set = WaitUntil(
      [&] {
        seen = ReadLog(log);
        return seen == "ready\nNirmala UI\n";
      },
      kUiTimeoutMs, 20);
  // Had notepad's conversion reached Word, its font would stand first.
  Expect(set, "Word's log is " + QuoteBytes(seen) + ", expected one Nirmala UI after the conversion in its window");
}

}  // namespace

std::vector<Case> ConvertCases() {
  return {
      {"convert_hotkey_notepad_both_ways", HotkeyConvertsNotepadBothWays},
      {"convert_window_menu_target", WindowMenuConvertsTheTarget},
      {"convert_hotkey_wordpad", HotkeyConvertsWordpad},
      {"convert_word_window_gets_unicode_font", WordWindowGetsTheUnicodeFont},
  };
}

}  // namespace lk::e2e
