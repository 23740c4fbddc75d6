// The target link end to end: the toolbar's edit command 3 (wrap the
// selection in "-" and "_") against Wine's notepad, the Select Application
// dialog, and a target that reads the clipboard late.
#include <algorithm>
#include <string>
#include <vector>

#include "cases.h"
#include "check.h"
#include "control_ids.h"
#include "input.h"
#include "program_folder.h"
#include "target_link.h"
#include "toolbar_process.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {
namespace {


struct Session : NotepadSession {
  Session(const Context& context, const wchar_t* name)
      : NotepadSession(context.exe, context.workDir, name) {}
};

// Notepad holds `before` with [start, end) selected and the focus, the user's
// clipboard holds `user`; command 3 must leave `expected` in notepad and
// `clipboardAfter` on the clipboard.
void ExpectCommand3(Session& session, const std::wstring& before, int start, int end,
                    const UserClipboard& user, const std::wstring& expected,
                    const UserClipboard& clipboardAfter) {
  PrepareNotepad(session.notepad, before, start, end, user);
  const RoundTrip trip =
      ClickAndAwait(session.toolbar, kCommand3, session.notepad, before, clipboardAfter);
  Expect(trip.changed, "notepad still holds " + Quote(before) + DescribePopups(session.toolbar));
  Expect(trip.text == expected,
         "notepad holds " + Quote(trip.text) + ", expected " + Quote(expected));
  Expect(trip.restored, "the clipboard holds " + Describe(trip.clipboard) + " afterwards, expected " +
                            Describe(clipboardAfter));
}

std::vector<std::wstring> ListItems(HWND list) {
  std::vector<std::wstring> items;
  DWORD_PTR count = 0;
  Expect(SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count) != 0,
         "the list does not answer LB_GETCOUNT");
  for (int i = 0; i < static_cast<int>(count); ++i) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(std::min<std::size_t>(copied, length));
    items.push_back(text);
  }
  return items;
}

std::string Join(const std::vector<std::wstring>& items) {
  std::string out;
  for (const auto& item : items) out += (out.empty() ? "" : ", ") + Quote(item);
  return "[" + out + "]";
}

HWND AwaitSelectApplication(const Toolbar& toolbar, const std::string& after) {
  std::vector<HWND> dialogs;
  Expect(WaitUntil(
             [&] {
               dialogs = SelectApplicationDialogs(toolbar.Pid());
               return !dialogs.empty();
             },
             kUiTimeoutMs),
         "no Select Application dialog " + after);
  Expect(dialogs.size() == 1, std::to_string(dialogs.size()) + " Select Application dialogs");
  return dialogs.front();
}

void ClickAndAwaitClosed(HWND dialog, int button, const std::string& name) {
  ClickAt(VisiblePoint(GetDlgItem(dialog, button)));
  Expect(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, kUiTimeoutMs),
         "a click on " + name + " did not close Select Application");
}

void ExpectField(const Toolbar& toolbar, const std::wstring& expected, const std::string& when) {
  const std::wstring field = WindowText(toolbar.Control(kTargetField));
  Expect(field == expected,
         "the target field holds " + Quote(field) + " " + when + ", expected " + Quote(expected));
}

// --- cases -----------------------------------------------------------------

void CaptureKeepsLineBreaks(const Context& context) {
  Session session(context, L"target_crlf");
  // The title typed by hand into the target field.
  HWND field = session.toolbar.Control(kTargetField);
  ClickAt(VisiblePoint(field));
  Expect(WaitUntil(
             [&] {
               GUITHREADINFO thread{};
               thread.cbSize = sizeof thread;
               return GetGUIThreadInfo(GetWindowThreadProcessId(field, nullptr), &thread) &&
                      thread.hwndFocus == field;
             },
             kUiTimeoutMs),
         "a click on the target field did not give it the keyboard focus");
  TypeAscii(kNotepadTitle);
  Expect(WaitUntil([&] { return WindowText(session.toolbar.Control(kTargetField)) == kNotepadTitle; },
                   kUiTimeoutMs),
         "typing did not fill the target field: it holds " +
             Quote(WindowText(session.toolbar.Control(kTargetField))));
  // An empty clipboard keeps what was pasted.
  ExpectCommand3(session, L"a\r\nb", 0, -1, {}, L"-a\r\nb_", {std::wstring(L"-a\r\nb_"), {}});
  session.CloseToolbar();
}

void PasteReplacesSelectionAndUserTextReturns(const Context& context) {
  Session session(context, L"target_selection");
  SetTargetField(session.toolbar, kNotepadTitle);
  const UserClipboard user{std::wstring(L"user text \u00E9"), {}};
  ExpectCommand3(session, L"xx one yy", 3, 6, user, L"xx -one_ yy", user);
  session.CloseToolbar();
}

void UserPictureReturns(const Context& context) {
  Session session(context, L"target_picture");
  SetTargetField(session.toolbar, kNotepadTitle);
  const UserClipboard user{std::nullopt, MakeDib(5, 3, 7)};
  ExpectCommand3(session, L"pic", 0, -1, user, L"-pic_", user);
  session.CloseToolbar();
}

void LeadingPartOfTitle(const Context& context) {
  Session session(context, L"target_leading_part");
  SetTargetField(session.toolbar, L"Untitled");
  // An empty text is still text: it comes back as it was.
  const UserClipboard user{std::wstring(), {}};
  ExpectCommand3(session, L"word", 0, 4, user, L"-word_", user);
  session.CloseToolbar();
}

// A person who wraps a second selection right after the first clicks the
// same spot again within the double-click time; the second click must run
// the command as well. (Under Wine the click into notepad in between does
// not part the two: clicks pair per receiving process.)
void QuickSecondClick(const Context& context) {
  Session session(context, L"target_quick_second_click");
  SetTargetField(session.toolbar, kNotepadTitle);
  const UserClipboard user{std::wstring(L"keep"), {}};
  const std::wstring texts[2][2] = {{L"one two", L"-one_ two"}, {L"-one_ two", L"-one_ -two_"}};
  const int selections[2][2] = {{0, 3}, {6, 9}};
  for (int i = 0; i < 2; ++i) {
    PrepareNotepad(session.notepad, texts[i][0], selections[i][0], selections[i][1], user);
    const RoundTrip trip = ClickAndAwait(session.toolbar, kCommand3, session.notepad, texts[i][0],
                                         user, 5, true);
    const std::string which = i == 0 ? "the first click" : "a second click soon after the first";
    Expect(trip.changed, which + " left notepad at " + Quote(texts[i][0]) +
                             DescribePopups(session.toolbar));
    Expect(trip.text == texts[i][1], which + " left " + Quote(trip.text) + ", expected " +
                                         Quote(texts[i][1]));
  }
  session.CloseToolbar();
}

void SelectApplicationList(const Context& context) {
  Session session(context, L"target_select_application");
  const Toolbar& toolbar = session.toolbar;
  SetTargetField(toolbar, L"Old Target");
  const POINT field = VisiblePoint(toolbar.Control(kTargetField));

  DoubleClickAt(field);
  HWND dialog = AwaitSelectApplication(toolbar, "after a double-click on the target field");
  RECT frame{};
  GetWindowRect(dialog, &frame);
  Expect(frame.left == 100 && frame.top == 300,
         "Select Application opened at (" + std::to_string(frame.left) + "," +
             std::to_string(frame.top) + "), expected (100,300)");
  const auto items = ListItems(GetDlgItem(dialog, kList));
  const auto has = [&](const wchar_t* title) {
    return std::find(items.begin(), items.end(), title) != items.end();
  };
  Expect(has(kNotepadTitle), "the list lacks notepad: " + Join(items));
  Expect(!has(L"Lekhopakar") && !has(L"Select Application"),
         "the list names the program's own windows: " + Join(items));
  ClickAndAwaitClosed(dialog, kCancel, "Cancel");
  ExpectField(toolbar, L"Old Target", "after Cancel");

  DoubleClickAt(field);
  dialog = AwaitSelectApplication(toolbar, "after a second double-click");
  HWND list = GetDlgItem(dialog, kList);
  const auto again = ListItems(list);
  const auto entry = std::find(again.begin(), again.end(), kNotepadTitle);
  Expect(entry != again.end(), "the reopened list lacks notepad: " + Join(again));
  const int index = static_cast<int>(entry - again.begin());
  SendMessageTimeoutW(list, LB_SETTOPINDEX, index, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
  RECT item{};
  Expect(SendMessageTimeoutW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item),
                             SMTO_ABORTIFHUNG, 5000, nullptr) != 0,
         "the list does not answer LB_GETITEMRECT");
  POINT point{item.left + 10, (item.top + item.bottom) / 2};
  ClientToScreen(list, &point);
  ClickAt(point);
  Expect(WaitUntil(
             [&] {
               DWORD_PTR selected = 0;
               SendMessageTimeoutW(list, LB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &selected);
               return static_cast<int>(selected) == index;
             },
             kUiTimeoutMs),
         "a click on notepad's entry did not select it");
  ClickAndAwaitClosed(dialog, kOk, "OK");
  ExpectField(toolbar, kNotepadTitle, "after OK");
  session.CloseToolbar();
}

void ClosedTarget(const Context& context) {
  Session session(context, L"target_closed");
  const Toolbar& toolbar = session.toolbar;
  session.notepad.SetText(L"keep");
  session.notepad.ClickInto();
  session.notepad.Select(0, -1);
  SetTargetField(toolbar, L"Gone Window");
  ClickControl(toolbar, kCommand3);

  std::vector<HWND> boxes;
  Expect(WaitUntil(
             [&] {
               boxes = TopLevelWindows(toolbar.Pid(), kToolbarTitle, L"#32770");
               return !boxes.empty();
             },
             kUiTimeoutMs),
         "no message box titled \"Lekhopakar\" for a target that is not running");
  HWND box = boxes.front();
  const std::wstring text = WindowText(GetDlgItem(box, 0xFFFF));
  const std::wstring expected =
      L"Gone Window is not running or this application was unable to detect it.\r\n"
      L"Please select the running application or refresh it.";
  Expect(text == expected, "the message box says " + Quote(text) + ", expected " + Quote(expected));
  if (GetForegroundWindow() != box) ActivateByCaptionClick(box);
  PressKeys({VK_RETURN});
  Expect(WaitUntil([&] { return !IsWindow(box); }, kUiTimeoutMs), "Enter did not close the message box");

  HWND dialog = AwaitSelectApplication(toolbar, "after the message box");
  const auto items = ListItems(GetDlgItem(dialog, kList));
  Expect(std::find(items.begin(), items.end(), kNotepadTitle) != items.end(),
         "the list lacks the running notepad: " + Join(items));
  ClickAndAwaitClosed(dialog, kCancel, "Cancel");
  Expect(Responds(toolbar.Window()), "the toolbar does not answer after the dialog");
  ExpectField(toolbar, L"Gone Window", "after Cancel");
  const std::wstring after = session.notepad.Text();
  Expect(after == L"keep", "notepad holds " + Quote(after) + ", expected it unchanged");
  session.CloseToolbar();
}

void SlowPasteTarget(const Context& context) {
  const std::wstring exeDir = context.exe.substr(0, context.exe.find_last_of(L'\\'));
  const std::wstring standIn = exeDir + L"\\tests\\standins\\slow_paste_target.exe";
  Expect(GetFileAttributesW(standIn.c_str()) != INVALID_FILE_ATTRIBUTES,
         "no stand-in at " + Narrow(standIn) + " (build the default target)");
  ProgramFolder folder(context.exe, context.workDir, L"target_slow_paste");
  folder.WriteIni(kFactoryCustomize);
  Toolbar toolbar(folder.ExePath(), folder.Dir());
  TargetApp slow(standIn, folder.Dir(), L"Slow Paste Target", RECT{700, 0, 1200, 260});
  slow.ClickInto();
  TypeAscii(L"abc");
  Expect(WaitUntil([&] { return slow.Text() == L"abc"; }, kUiTimeoutMs),
         "typing into the stand-in left " + Quote(slow.Text()));
  slow.Select(0, -1);
  SetTargetField(toolbar, L"Slow Paste Target");
  const UserClipboard user{std::wstring(L"OLD"), {}};
  Clipboard::Instance().Put(user);
  const RoundTrip trip = ClickAndAwait(toolbar, kCommand3, slow, L"abc", user);
  Expect(trip.changed, "the stand-in still holds \"abc\"" + DescribePopups(toolbar));
  Expect(trip.text == L"-abc_", "the stand-in holds " + Quote(trip.text) + ", expected \"-abc_\"");
  Expect(trip.restored, "the clipboard holds " + Describe(trip.clipboard) + " afterwards, expected " +
                            Describe(user));
  toolbar.PostClose();
  toolbar.ExpectExit("after WM_CLOSE");
}

}  // namespace

std::vector<Case> TargetCases() {
  return {
      {"target_capture_keeps_line_breaks", CaptureKeepsLineBreaks},
      {"target_paste_replaces_selection_user_text_returns", PasteReplacesSelectionAndUserTextReturns},
      {"target_user_picture_returns", UserPictureReturns},
      {"target_leading_part_of_title", LeadingPartOfTitle},
      {"target_quick_second_click_runs_again", QuickSecondClick},
      {"target_select_application_list", SelectApplicationList},
      {"target_closed_window_message_then_dialog", ClosedTarget},
      {"target_slow_paste_target", SlowPasteTarget},
  };
}

}  // namespace lk::e2e
