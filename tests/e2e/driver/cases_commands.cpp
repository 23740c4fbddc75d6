// End-to-end cases of what the toolbar does to a target application: the
// edit commands on a real notepad selection, the keypad, the font choice with
// its Office automation, and the quick text. Everything a person would do is
// real input; results are read back from notepad, the clipboard and the
// Office stand-ins' logs.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "cases.h"
#include "check.h"
#include "control_ids.h"
#include "input.h"
#include "office.h"
#include "program_folder.h"
#include "toolbar_process.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {
namespace {


constexpr wchar_t kNotepadTitle[] = L"Untitled - Notepad";
constexpr wchar_t kSans[] = L"DejaVu Sans";
constexpr wchar_t kSerif[] = L"DejaVu Serif";

// The factory [Customize] values as Windows-1252 bytes, and a last font that
// is installed nowhere, so no font is chosen at start.
constexpr char kFactoryIni[] =
    "[Customize]\r\n"
    "in101=l\r\nin201=L\r\n"
    "in102='\r\nin202=\"\r\n"
    "in103=-\r\nin203=_\r\n"
    "in104=\xE6\r\nin204=\xC6\r\n"
    "in105=\x85\r\nin205=\xDA\r\n"
    "Character==\r\nRepeat=3\r\n"
    "[Font]\r\nLastFont=No Such Font Anywhere\r\n";

std::wstring SystemDirectory() {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  return system;
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  const bool ok = SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kUiTimeoutMs,
                                      &result) != 0;
  Expect(ok, "window " + Narrow(ClassName(window)) + " did not answer message " +
                 std::to_string(message));
  return static_cast<LRESULT>(result);
}

DWORD ThreadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

GUITHREADINFO GuiOfThread(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(thread, &info);
  return info;
}

HWND FocusOfThread(DWORD thread) { return GuiOfThread(thread).hwndFocus; }
HWND CaptureOfThread(DWORD thread) { return GuiOfThread(thread).hwndCapture; }

// --- real typing -----------------------------------------------------------

// Types `text` key by key as a person does, Shift where the layout needs it.
void TypeKeys(const std::wstring& text) {
  for (const wchar_t c : text) {
    std::vector<INPUT> inputs;
    const auto key = [&](WORD vk, WORD scan, DWORD flags) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = vk;
      input.ki.wScan = scan;
      input.ki.dwFlags = flags;
      inputs.push_back(input);
    };
    const SHORT mapped = VkKeyScanW(c);
    if (mapped == -1 || (HIBYTE(mapped) & ~1) != 0) {
      key(0, c, KEYEVENTF_UNICODE);
      key(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP);
    } else {
      const WORD vk = LOBYTE(mapped);
      const WORD scan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
      const WORD shiftScan = static_cast<WORD>(MapVirtualKeyW(VK_SHIFT, MAPVK_VK_TO_VSC));
      const bool shift = (HIBYTE(mapped) & 1) != 0;
      if (shift) key(VK_SHIFT, shiftScan, 0);
      key(vk, scan, 0);
      key(vk, scan, KEYEVENTF_KEYUP);
      if (shift) key(VK_SHIFT, shiftScan, KEYEVENTF_KEYUP);
    }
    Expect(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size(),
           "SendInput did not deliver the keys of " + Quote(std::wstring(1, c)));
  }
}

// --- the driver's own clipboard -----------------------------------------------

// Opened without an owner window: the driver pumps no messages, and an owner
// would make every EmptyClipboard of the toolbar wait for it.
class ClipboardOpen {
 public:
  ClipboardOpen() {
    Expect(WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, kUiTimeoutMs, 5),
           "the driver cannot open the clipboard");
  }
  ~ClipboardOpen() { CloseClipboard(); }
  ClipboardOpen(const ClipboardOpen&) = delete;
  ClipboardOpen& operator=(const ClipboardOpen&) = delete;
};

void PutClipboardText(const std::wstring& text) {
  ClipboardOpen open;
  Expect(EmptyClipboard() != FALSE, "the driver cannot empty the clipboard");
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  Expect(memory != nullptr, "GlobalAlloc failed");
  std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
  GlobalUnlock(memory);
  if (!SetClipboardData(CF_UNICODETEXT, memory)) {
    GlobalFree(memory);
    Fail("SetClipboardData failed with error " + std::to_string(GetLastError()));
  }
}

// Never call it while the toolbar offers a paste: reading would render the
// offer, and the toolbar would take that for the target's read.
std::optional<std::wstring> ClipboardText() {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::wstring> text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = std::wstring(chars, wcsnlen(chars, GlobalSize(data) / sizeof(wchar_t)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::string Describe(const std::optional<std::wstring>& text) {
  return text ? Quote(*text) : "no text";
}

void ExpectClipboardBack(const std::wstring& user, const std::string& after) {
  std::optional<std::wstring> now;
  const bool back = WaitUntil(
      [&] {
        now = ClipboardText();
        return now == user;
      },
      kUiTimeoutMs, 20);
  Expect(back, "the clipboard holds " + Describe(now) + " " + after + ", expected the user's " +
                   Quote(user));
}

// --- notepad ---------------------------------------------------------------------

// Wine's notepad, placed above the toolbar's default place so that neither
// covers the other: an activated window is drawn over a topmost one in Wine.
class Notepad {
 public:
  Notepad() : program_(SystemDirectory() + L"\\notepad.exe", SystemDirectory()) {
    std::vector<HWND> windows;
    Expect(WaitUntil(
               [&] {
                 windows = TopLevelWindows(program_.Pid(), kNotepadTitle, L"Notepad");
                 return !windows.empty() || program_.HasExited();
               },
               kStartTimeoutMs, 20) &&
               !windows.empty(),
           "notepad showed no \"Untitled - Notepad\" window");
    window_ = windows.front();
    edit_ = FindWindowExW(window_, nullptr, L"Edit", nullptr);
    Expect(edit_ != nullptr, "notepad has no Edit control");
    SetWindowPos(window_, nullptr, 0, 0, 900, 290, SWP_NOZORDER | SWP_NOACTIVATE);
    Expect(WaitUntil(
               [&] {
                 const RECT frame = ScreenRect(window_);
                 return frame.left == 0 && frame.top == 0 && frame.bottom == 290;
               },
               kUiTimeoutMs),
           "notepad did not move to (0,0) 900x290");
  }

  std::wstring Text() const { return WindowText(edit_); }
  void SetText(const std::wstring& text) const {
    SendBounded(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    Expect(Text() == text, "notepad did not take the text " + Quote(text));
  }

  // A click into the text makes notepad the active window with the focus in
  // its text; then the characters [start, end) are selected. The click must be
  // over first: while the text holds the mouse, a move extends its selection
  // and the next click elsewhere goes to it.
  void ClickAndSelect(int start, int end) const {
    const int length = static_cast<int>(Text().size());
    Expect(length > 0 && Text().find(L'\n') == std::wstring::npos, "ClickAndSelect wants one line of text");
    SendBounded(edit_, EM_SETSEL, 0, 0);
    // Never twice on the same spot: notepad would take the second click of a
    // quick pair for a double click, which selects a word.
    POINT point = Centre(ScreenRect(edit_));
    point.x += (clicks_++ % 2) ? 40 : -40;
    LeftClickAt(point);
    // Below the only line, the press puts the caret at its end.
    const auto pressed = [&] {
      return static_cast<DWORD>(SendBounded(edit_, EM_GETSEL, 0, 0)) == static_cast<DWORD>(MAKELONG(length, length));
    };
    Expect(WaitUntil(
               [&] {
                 return GetForegroundWindow() == window_ && FocusOfThread(ThreadOf(edit_)) == edit_ &&
                        pressed() && CaptureOfThread(ThreadOf(edit_)) == nullptr;
               },
               kUiTimeoutMs),
           "a click into notepad's text " + Quote(Text()) +
               " did not end with the focus and the caret at its end (foreground " +
               Quote(WindowText(GetForegroundWindow())) + ")");
    SendBounded(edit_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
  }

  // Waits until notepad's text is `expected`; fails naming what it holds.
  void ExpectText(const std::wstring& expected, const std::string& after) const {
    std::wstring now;
    const bool reached = WaitUntil(
        [&] {
          now = Text();
          return now == expected;
        },
        kUiTimeoutMs);
    Expect(reached, "notepad holds " + Quote(now) + " " + after + ", expected " + Quote(expected));
  }

 private:
  RunningProgram program_;
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
  mutable int clicks_ = 0;
};

// --- the toolbar's controls --------------------------------------------------

void ClickControl(const Toolbar& toolbar, int id) {
  LeftClickAt(Centre(ScreenRect(toolbar.Control(id))));
}

// The target field's left part, which the quick-text box never overlaps.
void ClickTargetField(const Toolbar& toolbar) {
  const RECT field = ScreenRect(toolbar.Control(kTargetField));
  const RECT quick = ScreenRect(toolbar.Control(kQuickText));
  LeftClickAt({(field.left + std::min(field.right, quick.left)) / 2, (field.top + field.bottom) / 2});
}

void TypeTargetName(const Toolbar& toolbar, const std::wstring& name) {
  HWND field = toolbar.Control(kTargetField);
  ClickTargetField(toolbar);
  Expect(WaitUntil([&] { return FocusOfThread(ThreadOf(field)) == field; }, kUiTimeoutMs),
         "a click on the target field did not give it the focus");
  // Typing over a selection of everything replaces a name from an earlier step.
  PressKeys({VK_HOME});
  PressKeys({VK_SHIFT, VK_END});
  TypeKeys(name);
  std::wstring shown;
  Expect(WaitUntil(
             [&] {
               shown = WindowText(field);
               return shown == name;
             },
             kUiTimeoutMs),
         "the target field shows " + Quote(shown) + " after typing " + Quote(name));
}

std::vector<HWND> DialogsOf(DWORD pid) {
  struct State {
    DWORD pid;
    std::vector<HWND> found;
  } state{pid, {}};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<State*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.pid && IsWindowVisible(window) && ClassName(window) == L"#32770")
          s.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&state));
  return state.found;
}

std::string DescribeDialogs(DWORD pid) {
  std::string out;
  for (HWND dialog : DialogsOf(pid)) {
    out += (out.empty() ? "" : ", ") + Quote(WindowText(dialog));
    if (HWND text = GetDlgItem(dialog, 0xFFFF)) out += ": " + Quote(WindowText(text));
  }
  return out.empty() ? "none" : out;
}

// The one message box titled "Lekhopakar": checks its text, clicks its OK
// button and waits until it is gone and the toolbar answers again.
void AnswerMessageBox(const Toolbar& toolbar, const std::wstring& text, const std::string& after) {
  std::vector<HWND> boxes;
  Expect(WaitUntil(
             [&] {
               boxes = TopLevelWindows(toolbar.Pid(), kToolbarTitle, L"#32770");
               return !boxes.empty();
             },
             kUiTimeoutMs),
         "no message box titled \"Lekhopakar\" " + after + "; dialogs: " +
             DescribeDialogs(toolbar.Pid()));
  Expect(boxes.size() == 1, std::to_string(boxes.size()) + " message boxes " + after);
  HWND box = boxes.front();
  HWND textControl = GetDlgItem(box, 0xFFFF);
  Expect(textControl != nullptr, "the message box has no text control (ID 0xFFFF)");
  const std::wstring shown = WindowText(textControl);
  Expect(shown == text, "the message box " + after + " says " + Quote(shown) + ", expected " +
                            Quote(text));
  HWND ok = GetDlgItem(box, IDOK);
  Expect(ok != nullptr, "the message box has no OK button");
  LeftClickAt(Centre(ScreenRect(ok)));
  Expect(WaitUntil([&] { return !IsWindow(box); }, kUiTimeoutMs),
         "a click on OK did not close the message box " + after);
  Expect(Responds(toolbar.Window()), "the toolbar does not answer after its message box");
}

// --- the font list ----------------------------------------------------------------

// Chooses `font` as a person does: a click drops the list down, a click on
// the entry chooses it. Only the entry clicked is ever selected, so the
// toolbar reacts to exactly one choice.
void ChooseFont(const Toolbar& toolbar, const std::wstring& font) {
  Expect(FontInstalled(font), Narrow(font) + " is not installed here");
  HWND fonts = toolbar.Control(kFonts);
  const int index = ComboFindExact(fonts, font);
  Expect(index >= 0, "the font list has no entry " + Quote(font));
  ClickControl(toolbar, kFonts);
  HWND list = nullptr;
  Expect(WaitUntil(
             [&] {
               const auto lists = TopLevelWindows(toolbar.Pid(), L"", L"ComboLBox");
               list = lists.empty() ? nullptr : lists.front();
               // The list takes the mouse when the button comes up.
               return list && SendBounded(fonts, CB_GETDROPPEDSTATE, 0, 0) &&
                      CaptureOfThread(ThreadOf(fonts)) == list;
             },
             kUiTimeoutMs),
         "a click on the font list did not drop it down and leave the mouse to the list");
  const int itemHeight = static_cast<int>(SendBounded(list, LB_GETITEMHEIGHT, 0, 0));
  RECT client{};
  GetClientRect(list, &client);
  const int rows = itemHeight > 0 ? client.bottom / itemHeight : 0;
  Expect(rows > 0, "the dropped font list shows no whole entry");
  int top = static_cast<int>(SendBounded(list, LB_GETTOPINDEX, 0, 0));
  if (index < top || index >= top + rows) {
    // Scrolled into view without choosing: arrow keys would choose every
    // entry passed over, and the toolbar would react to each.
    SendBounded(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    top = static_cast<int>(SendBounded(list, LB_GETTOPINDEX, 0, 0));
    Expect(index >= top && index < top + rows, "the entry " + Quote(font) + " cannot be scrolled into view");
  }
  POINT entry{client.right / 2, (index - top) * itemHeight + itemHeight / 2};
  ClientToScreen(list, &entry);
  LeftClickAt(entry);
  Expect(WaitUntil(
             [&] {
               return ComboSelection(fonts) == index && !SendBounded(fonts, CB_GETDROPPEDSTATE, 0, 0);
             },
             kUiTimeoutMs),
         "a click on " + Quote(font) + " did not choose it; selected: " +
             Quote(ComboItem(fonts, ComboSelection(fonts))));
}

void ExpectKeyCaption(const Toolbar& toolbar, int index, const std::wstring& expected) {
  HWND key = toolbar.Control(kFirstKey + index);
  std::wstring caption;
  Expect(WaitUntil(
             [&] {
               caption = WindowText(key);
               return caption == expected;
             },
             kUiTimeoutMs),
         "key " + std::to_string(kFirstKey + index) + " shows " + Quote(caption) + ", expected " +
             Quote(expected));
}

// --- the edit commands ------------------------------------------------------------

struct Edit {
  int button;
  std::wstring before;
  std::wstring after;
};

void EditCommandsOnSelection(const Context& context) {
  ProgramFolder folder(context.exe, context.workDir, L"edit_commands");
  folder.WriteIni(kFactoryIni);
  Notepad notepad;
  Toolbar toolbar(folder.ExePath(), folder.Dir());
  TypeTargetName(toolbar, kNotepadTitle);
  // No button twice in a row: a quick second click is a double click, which
  // has a case of its own.
  const Edit edits[] = {
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
  for (const Edit& edit : edits) {
    const std::string what = "after Command" + std::to_string(edit.button) + " on " + Quote(edit.before);
    const std::wstring user = L"user clipboard \u00E9 " + std::to_wstring(++step);
    notepad.SetText(edit.before);
    PutClipboardText(user);
    notepad.ClickAndSelect(0, -1);
    ClickControl(toolbar, kCommand1 + edit.button - 1);
    // Notepad first: until it has read the paste, the clipboard is the toolbar's.
    notepad.ExpectText(edit.after, what);
    ExpectClipboardBack(user, what);
    Expect(DialogsOf(toolbar.Pid()).empty(), "a dialog is open " + what + ": " +
                                                 DescribeDialogs(toolbar.Pid()));
    // The clipboard is restored last: once the toolbar answers, the click's
    // sequence is over and the next click is not held back.
    Expect(Responds(toolbar.Window()), "the toolbar does not answer " + what);
  }
}

void InvalidSelectionLeavesNotepad(const Context& context) {
  ProgramFolder folder(context.exe, context.workDir, L"invalid_selection");
  folder.WriteIni(kFactoryIni);
  Notepad notepad;
  Toolbar toolbar(folder.ExePath(), folder.Dir());
  TypeTargetName(toolbar, kNotepadTitle);
  const std::wstring user = L"user clipboard \u20AC";
  notepad.SetText(L"xs");
  PutClipboardText(user);
  notepad.ClickAndSelect(0, -1);
  ClickControl(toolbar, kCommand1);
  AnswerMessageBox(toolbar, L"Invalid Selection", "after Command1 on \"xs\"");
  Expect(notepad.Text() == L"xs", "notepad holds " + Quote(notepad.Text()) +
                                      " after the message, expected \"xs\" unchanged");
  ExpectClipboardBack(user, "after the message");
}

// --- keypad and font choice --------------------------------------------------------

// A click on a key has typed its character once notepad shows it and the
// toolbar answers again.
void ClickKey(const Toolbar& toolbar, const Notepad& notepad, int index, const std::wstring& expected) {
  ClickControl(toolbar, kFirstKey + index);
  notepad.ExpectText(expected, "after a click on key " + std::to_string(kFirstKey + index));
  Expect(Responds(toolbar.Window()), "the toolbar does not answer after typing");
}

void KeypadTypesChosenCharacters(const Context& context) {
  ProgramFolder folder(context.exe, context.workDir, L"keypad_typing");
  folder.WriteIni(kFactoryIni);
  Notepad notepad;
  Toolbar toolbar(folder.ExePath(), folder.Dir());
  ExpectKeyCaption(toolbar, 33, L"");
  ChooseFont(toolbar, kSans);
  // Captions are the codes through Windows-1252, the undefined 0x81 included.
  const struct {
    int index;
    const wchar_t* caption;
  } captions[] = {{0, L" "}, {33, L"A"}, {96, L"\u20AC"}, {97, L"\u0081"}, {201, L"\u00E9"}, {223, L"\u00FF"}};
  for (const auto& key : captions) ExpectKeyCaption(toolbar, key.index, key.caption);

  TypeTargetName(toolbar, kNotepadTitle);
  notepad.SetText(L"xy");
  notepad.ClickAndSelect(2, 2);
  ClickKey(toolbar, notepad, 33, L"xyA");
  ClickKey(toolbar, notepad, 201, L"xyA\u00E9");
}

// A letter typed twice: the second click on the key, soon after the first
// (within the double-click time), is a click of its own.
void KeypadQuickSecondClickTypesAgain(const Context& context) {
  ProgramFolder folder(context.exe, context.workDir, L"keypad_quick_second_click");
  folder.WriteIni(kFactoryIni);
  Notepad notepad;
  Toolbar toolbar(folder.ExePath(), folder.Dir());
  ChooseFont(toolbar, kSans);
  TypeTargetName(toolbar, kNotepadTitle);
  notepad.SetText(L"x");
  notepad.ClickAndSelect(1, 1);
  ClickKey(toolbar, notepad, 76, L"xl");
  ClickKey(toolbar, notepad, 76, L"xll");
}

void KeypadWithoutFontAsksForOne(const Context& context) {
  ProgramFolder folder(context.exe, context.workDir, L"keypad_without_font");
  folder.WriteIni(kFactoryIni);
  Toolbar toolbar(folder.ExePath(), folder.Dir());
  HWND fonts = toolbar.Control(kFonts);
  Expect(ComboSelection(fonts) == CB_ERR, "a font is chosen at start: " +
                                              Quote(ComboItem(fonts, ComboSelection(fonts))));
  // The target field is empty too: the font message must come first and alone.
  ClickControl(toolbar, kFirstKey + 33);
  AnswerMessageBox(toolbar, L"Please select a font from the list.", "after a key click without a font");
  Expect(WaitUntil([&] { return SendBounded(fonts, CB_GETDROPPEDSTATE, 0, 0) != 0; }, kUiTimeoutMs),
         "the font list is not dropped down after the message");
  Expect(DialogsOf(toolbar.Pid()).empty(),
         "the target check ran after the font message: " + DescribeDialogs(toolbar.Pid()));
}

// --- quick text ---------------------------------------------------------------------

void QuickTextAddsAndPastes(const Context& context) {
  ProgramFolder folder(context.exe, context.workDir, L"quick_text");
  folder.WriteIni(kFactoryIni);
  Notepad notepad;
  Toolbar toolbar(folder.ExePath(), folder.Dir());
  TypeTargetName(toolbar, kNotepadTitle);

  HWND combo = toolbar.Control(kQuickText);
  HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
  Expect(edit != nullptr, "the quick-text box has no Edit part");
  // The target field lies over the box's left part until the box has the focus.
  const RECT editRect = ScreenRect(edit);
  const RECT field = ScreenRect(toolbar.Control(kTargetField));
  const int left = std::max(editRect.left, field.right);
  Expect(left < editRect.right, "no part of the quick-text box can be clicked");
  LeftClickAt({(left + editRect.right) / 2, (editRect.top + editRect.bottom) / 2});
  Expect(WaitUntil([&] { return FocusOfThread(ThreadOf(edit)) == edit; }, kUiTimeoutMs),
         "a click into the quick-text box did not give it the focus");

  TypeKeys(L"abc");
  Expect(WaitUntil([&] { return WindowText(combo) == L"abc"; }, kUiTimeoutMs),
         "the quick-text box shows " + Quote(WindowText(combo)) + " after typing \"abc\"");
  PressKeys({VK_RETURN});
  Expect(WaitUntil([&] { return ComboCount(combo) == 1; }, kUiTimeoutMs),
         "the quick-text list has " + std::to_string(ComboCount(combo)) + " entries after Enter, expected 1");
  Expect(ComboItem(combo, 0) == L"abc", "the quick-text entry is " + Quote(ComboItem(combo, 0)));
  Expect(WindowText(combo).empty(), "the quick-text box still shows " + Quote(WindowText(combo)) +
                                        " after Enter");

  TypeKeys(L"xyz");
  Expect(WaitUntil([&] { return WindowText(combo) == L"xyz"; }, kUiTimeoutMs),
         "the quick-text box shows " + Quote(WindowText(combo)) + " after typing \"xyz\"");
  const std::wstring user = L"user clipboard";
  notepad.SetText(L"one sel two");
  PutClipboardText(user);
  notepad.ClickAndSelect(4, 7);
  ClickControl(toolbar, kMarker);
  notepad.ExpectText(L"one xyz two", "after a click on the marker");
  ExpectClipboardBack(user, "after the marker's paste");
  Expect(ComboCount(combo) == 1, "text pasted without Enter was added to the quick-text list");
}

// --- Office automation through the stand-ins ----------------------------------------

// office_standin.exe playing Word or Excel; its log gets "ready" and then
// every font name the toolbar sets.
class OfficeStandIn {
 public:
  OfficeStandIn(const Context& context, const ProgramFolder& folder, const std::wstring& role)
      : role_(Narrow(role)), log_(folder.Dir() + L"\\" + role + L".log") {
    const std::wstring standIn = OfficeStandInPath(context.exe);
    Expect(GetFileAttributesW(standIn.c_str()) != INVALID_FILE_ATTRIBUTES,
           "no stand-in at " + Narrow(standIn));
    DeleteFileW(log_.c_str());
    std::wstring commandLine = L"\"" + standIn + L"\" " + role + L" \"" + log_ + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    Expect(CreateProcessW(standIn.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                          nullptr, folder.Dir().c_str(), &startup, &process_) != 0,
           "cannot start the " + role_ + " stand-in (error " + std::to_string(GetLastError()) + ")");
    Expect(WaitUntil([&] { return Log() == "ready\n" || WaitForSingleObject(process_.hProcess, 0) == 0; },
                     kStartTimeoutMs, 20) &&
               Log() == "ready\n",
           "the " + role_ + " stand-in did not get ready; its log: " + QuoteBytes(Log()));
  }
  ~OfficeStandIn() {
    TerminateProcess(process_.hProcess, 0);
    WaitForSingleObject(process_.hProcess, kExitTimeoutMs);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  OfficeStandIn(const OfficeStandIn&) = delete;
  OfficeStandIn& operator=(const OfficeStandIn&) = delete;

  std::string Log() const { return ReadLog(log_); }

  void ExpectLog(const std::string& expected, const std::string& after) const {
    std::string now;
    const bool reached = WaitUntil(
        [&] {
          now = Log();
          return now == expected;
        },
        kUiTimeoutMs, 20);
    Expect(reached, role_ + "'s log is " + QuoteBytes(now) + " " + after + ", expected " + QuoteBytes(expected));
  }

 private:
  std::string role_;
  std::wstring log_;
  PROCESS_INFORMATION process_{};
};

// Each choice is checked after the next one has reached a log: the toolbar
// handles one choice at a time, so a font that a choice must not send would
// be in the log before the next one's.
void OfficeFontFollowsTargetName(const Context& context) {
  RegisterOfficeClasses();
  ProgramFolder folder(context.exe, context.workDir, L"office_font");
  folder.WriteIni(kFactoryIni);
  OfficeStandIn word(context, folder, L"word");
  OfficeStandIn excel(context, folder, L"excel");
  Toolbar toolbar(folder.ExePath(), folder.Dir());

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
  Expect(DialogsOf(toolbar.Pid()).empty(), "a dialog is open: " + DescribeDialogs(toolbar.Pid()));
}

void OfficeWordNotRunningSkipsExcel(const Context& context) {
  RegisterOfficeClasses();
  ProgramFolder folder(context.exe, context.workDir, L"office_word_not_running");
  folder.WriteIni(kFactoryIni);
  OfficeStandIn excel(context, folder, L"excel");
  Toolbar toolbar(folder.ExePath(), folder.Dir());

  TypeTargetName(toolbar, L"Microsoft Word and Microsoft Excel");
  ChooseFont(toolbar, kSans);
  ExpectKeyCaption(toolbar, 33, L"A");

  // The same Excel is reached once Word is no longer named.
  TypeTargetName(toolbar, L"Book1 - Microsoft Excel");
  ChooseFont(toolbar, kSerif);
  excel.ExpectLog("ready\nDejaVu Serif\n", "after choosing DejaVu Serif for \"Book1 - Microsoft Excel\"");
  Expect(DialogsOf(toolbar.Pid()).empty(), "a dialog is open: " + DescribeDialogs(toolbar.Pid()));
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
