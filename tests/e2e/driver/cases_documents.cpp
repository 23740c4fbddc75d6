// End-to-end cases of whole documents converted from the toolbar: a file
// picked in the system's file dialog (opened from the window menu, its name
// typed into the dialog) and a file dragged onto the toolbar, each converted
// beside itself while the progress window reports, and the toolbar working
// on meanwhile.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "cases.h"
#include "check.h"
#include "control_ids.h"
#include "desktop_picture.h"
#include "file_drag.h"
#include "input.h"
#include "popups.h"
#include "session.h"
#include "toolbar_actions.h"
#include "toolbar_process.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {
namespace {

constexpr wchar_t kProgressClass[] = L"LekhopakarDocuments";
constexpr wchar_t kToUnicodeTitle[] = L"Convert documents to Unicode";
// The open dialog's "Look in" list (cmb2 of the system's dialog template).
constexpr int kLookInList = 0x471;

// A letter whose first run is in Preeti and whose second is English:
// "नेपाल सरकार" as Preeti's codes, then " Nepal".
const std::string kLetterRtf =
    "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\fnil Preeti;}{\\f1\\fswiss Arial;}}\n"
    "\\pard\\f0\\fs24 g]kfn ;/sf/\\f1  Nepal\\par\n}\n";

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out << bytes;
  Expect(static_cast<bool>(out), "cannot write " + Narrow(path));
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Names of the files in a folder, without "." and "..".
std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// A case's program folder as it starts: the program and its settings only,
// nothing a run of the same case left before.
void KeepOnlyTheProgram(const std::wstring& folder) {
  for (const auto& name : FilesIn(folder))
    if (_wcsicmp(name.c_str(), L"lekhopakar.exe") != 0 && _wcsicmp(name.c_str(), L"LK.ini") != 0)
      DeleteFileW((folder + L"\\" + name).c_str());
}

// The converted RTF holds the Devanagari as \uN escapes, in decimal, and
// the English run as it was.
void ExpectConvertedLetter(const std::wstring& output) {
  const auto bytes = ReadBytes(output);
  Expect(bytes.has_value(), "no converted file at " + Narrow(output));
  for (const wchar_t unit : std::wstring(L"नेपाल सरकार")) {
    if (unit == L' ') continue;
    const std::string escape = "\\u" + std::to_string(static_cast<int>(unit));
    Expect(bytes->find(escape) != std::string::npos,
           "the converted file lacks " + escape + ": " + QuoteBytes(bytes->substr(0, 600)));
  }
  Expect(bytes->find("Nepal") != std::string::npos, "the English run went missing: " + QuoteBytes(*bytes));
  Expect(bytes->find("g]kfn") == std::string::npos, "the Preeti codes are still there: " + QuoteBytes(*bytes));
}

HWND AwaitWindow(DWORD pid, const std::wstring& title, const wchar_t* className, const std::string& what) {
  HWND found = nullptr;
  Expect(WaitUntil(
             [&] {
               const auto windows = TopLevelWindows(pid, title, className);
               found = windows.empty() ? nullptr : windows.front();
               return found != nullptr;
             },
             kUiTimeoutMs),
         what + " did not appear");
  return found;
}

// The progress window, once its run has ended (its Cancel turned Close).
HWND AwaitFinishedRun(const Toolbar& toolbar, const std::wstring& title) {
  HWND window = AwaitWindow(toolbar.Pid(), title, kProgressClass, "the progress window");
  HWND close = GetDlgItem(window, documents_id::kCancel);
  Expect(close != nullptr, "the progress window has no Cancel/Close button");
  const std::wstring caption = ReadUntil([&] { return WindowText(close); }, std::wstring(L"Close"), 30000);
  Expect(caption == L"Close", "the run did not end: its button still says " + Quote(caption) + ", the window says " +
                                  Quote(WindowText(GetDlgItem(window, documents_id::kHeading))));
  return window;
}

void CloseRunWindow(HWND window) {
  LeftClickAt(VisiblePoint(GetDlgItem(window, documents_id::kCancel)));
  Expect(WaitUntil([&] { return !IsWindow(window); }, kUiTimeoutMs), "Close did not close the progress window");
}

// The toolbar's window menu, opened at its icon, and an entry chosen by
// moving up from the bottom: the selection entries stand last, the
// document entries above them.
void ChooseFromWindowMenu(const Toolbar& toolbar, int upPresses) {
  LeftClickAt(SystemMenuPoint(toolbar.Window()));
  Expect(WaitUntil(
             [&] {
               const auto menus = TopLevelWindows(toolbar.Pid(), L"", L"#32768");
               return !menus.empty() && IsWindowVisible(menus.front());
             },
             kUiTimeoutMs),
         "a click on the toolbar's icon did not open its window menu");
  for (int i = 0; i < upPresses; ++i) PressKeys({VK_UP});
  PressKeys({VK_RETURN});
}

// "; a dialog says …" for every other dialog of the toolbar's that is open:
// what the file dialog answered instead of closing.
std::string DescribeOtherDialogs(const Toolbar& toolbar, HWND dialog) {
  std::string out;
  for (HWND window : MessageBoxes(toolbar.Pid())) {
    if (window == dialog) continue;
    out += "; a dialog " + Quote(WindowText(window)) + " says " + Quote(WindowText(GetDlgItem(window, 0xFFFF)));
  }
  return out;
}

// The file name field of the open dialog: the edit box that has the focus
// when it opens.
HWND FileNameField(HWND dialog) {
  HWND field = nullptr;
  Expect(WaitUntil(
             [&] {
               field = FocusOf(dialog);
               return field && ClassName(field) == L"Edit" && GetAncestor(field, GA_ROOT) == dialog;
             },
             kUiTimeoutMs),
         "the file dialog's file name field did not take the focus");
  return field;
}

void DialogConvertsADocument(const Context& context) {
  ToolbarRun run(context, std::string(kFactoryCustomize));
  const std::wstring input = run.folder.Dir() + L"\\letter.rtf";
  const std::wstring output = run.folder.Dir() + L"\\letter (Unicode).rtf";
  KeepOnlyTheProgram(run.folder.Dir());
  WriteBytes(input, kLetterRtf);

  // Up four times: Selection to legacy, Selection to Unicode, documents to
  // the family, documents to Unicode.
  ChooseFromWindowMenu(run.toolbar, 4);
  HWND dialog = AwaitWindow(run.toolbar.Pid(), kToUnicodeTitle, L"#32770", "the open dialog");
  FileNameField(dialog);
  TypeText(input);
  Expect(WaitUntil([&] { return WindowText(FocusOf(dialog)) == input; }, kUiTimeoutMs),
         "the file name field shows " + Quote(WindowText(FocusOf(dialog))) + " after typing");
  PressKeys({VK_RETURN});
  Expect(WaitUntil([&] { return !IsWindow(dialog); }, kUiTimeoutMs), "Enter did not close the open dialog");

  HWND window = AwaitFinishedRun(run.toolbar, kToUnicodeTitle);
  const std::wstring heading = WindowText(GetDlgItem(window, documents_id::kHeading));
  Expect(heading == L"Converted 1 of 1 document to Unicode.", "the window says " + Quote(heading));
  const std::wstring summary = WindowText(GetDlgItem(window, documents_id::kSummary));
  Expect(summary == L"Converted:\r\n  letter.rtf \u2192 letter (Unicode).rtf\r\n", "the summary says " + Quote(summary));
  Expect(IsWindowEnabled(GetDlgItem(window, documents_id::kOpenFolder)) != FALSE, "Open folder is not enabled");
  ExpectConvertedLetter(output);
  const auto inputAfter = ReadBytes(input);
  Expect(inputAfter && *inputAfter == kLetterRtf, "the input file was changed");

  // The same file again: the earlier output is never written over.
  CloseRunWindow(window);
  ChooseFromWindowMenu(run.toolbar, 4);
  dialog = AwaitWindow(run.toolbar.Pid(), kToUnicodeTitle, L"#32770", "the open dialog, the second time");
  FileNameField(dialog);
  TypeText(input);
  PressKeys({VK_RETURN});
  Expect(WaitUntil([&] { return !IsWindow(dialog); }, kUiTimeoutMs), "Enter did not close the open dialog");
  window = AwaitFinishedRun(run.toolbar, kToUnicodeTitle);
  const std::wstring again = WindowText(GetDlgItem(window, documents_id::kSummary));
  Expect(again.rfind(L"Failed:\r\n  letter.rtf: ", 0) == 0, "converting it again says " + Quote(again));
  ExpectConvertedLetter(output);
  CloseRunWindow(window);
  run.toolbar.Close();
}

// Where a drop lands: the middle of the keypad, a child of the toolbar.
POINT KeypadPoint(const Toolbar& toolbar) { return Centre(ScreenRect(toolbar.Control(kFirstKey + 100))); }

// Answers the question a drop asks with its first entry, "to Unicode".
void AnswerDropQuestion(const Toolbar& toolbar, const std::string& after) {
  Expect(WaitUntil(
             [&] {
               const auto menus = TopLevelWindows(toolbar.Pid(), L"", L"#32768");
               return !menus.empty() && IsWindowVisible(menus.front());
             },
             kUiTimeoutMs),
         after + " the toolbar did not ask which way to convert");
  PressKeys({VK_DOWN});
  PressKeys({VK_RETURN});
}

void DraggedFileIsConverted(const Context& context) {
  ToolbarRun run(context, std::string(kFactoryCustomize));
  const std::wstring input = run.folder.Dir() + L"\\dropped letter.rtf";
  const std::wstring output = run.folder.Dir() + L"\\dropped letter (Unicode).rtf";
  KeepOnlyTheProgram(run.folder.Dir());
  WriteBytes(input, kLetterRtf);
  const RECT frame = run.toolbar.Frame();
  // From empty desktop below the toolbar, onto its keypad.
  const POINT from{(frame.left + frame.right) / 2, frame.bottom + 120};
  const DragOutcome drag = DragFiles({input}, from, KeypadPoint(run.toolbar));
  Expect(drag.result == DRAGDROP_S_DROP, "the drag did not drop: " + drag.Describe());
  AnswerDropQuestion(run.toolbar, "after the drag (" + drag.Describe() + "),");
  HWND window = AwaitFinishedRun(run.toolbar, kToUnicodeTitle);
  const std::wstring summary = WindowText(GetDlgItem(window, documents_id::kSummary));
  Expect(summary == L"Converted:\r\n  dropped letter.rtf \u2192 dropped letter (Unicode).rtf\r\n",
         "the summary says " + Quote(summary));
  ExpectConvertedLetter(output);
  Expect(Responds(run.toolbar.Window()), "the toolbar stopped answering");
  CloseRunWindow(window);
  run.toolbar.Close();
}

// Letters named "<stem> N.rtf", large enough that a run of them is still
// going when the case acts on it.
std::vector<std::wstring> WriteLetters(const std::wstring& folder, int count, const std::wstring& stem = L"letter") {
  KeepOnlyTheProgram(folder);
  std::string body;
  for (int i = 0; i < 40000; ++i) body += "\\f0 g]kfn ;/sf/sf] s'/f\\f1  Nepal\\par\n";
  const std::string letter =
      "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\fnil Preeti;}{\\f1\\fswiss Arial;}}\n" + body + "}\n";
  std::vector<std::wstring> names;
  for (int i = 1; i <= count; ++i) {
    names.push_back(stem + L" " + std::to_wstring(i) + L".rtf");
    WriteBytes(folder + L"\\" + names.back(), letter);
  }
  return names;
}

std::wstring QuotedNames(const std::vector<std::wstring>& names) {
  std::wstring quoted;
  for (const auto& name : names) quoted += L"\"" + name + L"\" ";
  return quoted;
}

// Picks `names` of `folder` in the open dialog, as a person does: the
// folder in the file name field and Enter take the dialog there, then the
// names, each in quotes.
void PickInDialog(const Toolbar& toolbar, const std::wstring& folder, const std::wstring& names) {
  ChooseFromWindowMenu(toolbar, 4);
  HWND dialog = AwaitWindow(toolbar.Pid(), kToUnicodeTitle, L"#32770", "the open dialog");
  HWND field = FileNameField(dialog);
  SetWindowTextW(field, folder.c_str());
  PressKeys({VK_RETURN});
  // The dialog may already stand there (it remembers where it was last):
  // its "Look in" list names the folder either way.
  const std::wstring leaf = folder.substr(folder.find_last_of(L'\\') + 1);
  HWND lookIn = GetDlgItem(dialog, kLookInList);
  Expect(lookIn != nullptr, "the open dialog has no Look in list");
  const std::wstring shown = ReadUntil([&] { return WindowText(lookIn); }, leaf, kStartTimeoutMs);
  Expect(shown == leaf, "the dialog did not go to the folder: it shows " + Quote(shown));
  SetWindowTextW(field, names.c_str());
  PressKeys({VK_RETURN});
  Expect(WaitUntil([&] { return !IsWindow(dialog); }, kUiTimeoutMs),
         "Enter did not close the open dialog" + DescribeOtherDialogs(toolbar, dialog));
}

// Enough letters that a run is still going when the case acts on it, with
// seconds to spare on a fast machine.
constexpr int kLetters = 40;

// Waits until the run has finished a file and is converting another.
void AwaitFirstFinished(HWND window) {
  HWND heading = GetDlgItem(window, documents_id::kHeading);
  HWND summary = GetDlgItem(window, documents_id::kSummary);
  const std::wstring converting = L"Converting ";
  Expect(WaitUntil(
             [&] {
               return WindowText(heading).compare(0, converting.size(), converting) == 0 &&
                      !WindowText(summary).empty();
             },
             60000),
         "the run did not go on past its first file: the window says " + Quote(WindowText(heading)));
}

// After a cancelled run, the folder holds the program, its settings, the
// inputs and exactly the outputs of the files the window lists as converted:
// nothing half-written, no temporary file.
void ExpectOnlyFinishedOutputs(const std::wstring& folder, const std::vector<std::wstring>& inputs,
                               const std::wstring& summary) {
  std::vector<std::wstring> expected{L"lekhopakar.exe", L"LK.ini"};
  for (const auto& input : inputs) {
    expected.push_back(input);
    const std::wstring output = input.substr(0, input.size() - 4) + L" (Unicode).rtf";
    if (summary.find(L"  " + input + L" \u2192 " + output + L"\r\n") != std::wstring::npos) expected.push_back(output);
  }
  for (const auto& name : FilesIn(folder)) {
    bool known = false;
    for (const auto& e : expected) known = known || _wcsicmp(e.c_str(), name.c_str()) == 0;
    Expect(known, "after the cancel the folder holds " + Quote(name) + "; the window says " + Quote(summary));
  }
  for (const auto& name : expected)
    Expect(GetFileAttributesW((folder + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES,
           "the window lists " + Quote(name) + " as converted, but it is not there");
}

// Cancel in the middle of a run: the file in progress and the ones after it
// leave nothing, the finished ones stay, and the window says so.
void CancelKeepsFinishedFiles(const Context& context) {
  ToolbarRun run(context, std::string(kFactoryCustomize));
  const auto inputs = WriteLetters(run.folder.Dir(), kLetters);
  PickInDialog(run.toolbar, run.folder.Dir(), QuotedNames(inputs));
  HWND window = AwaitWindow(run.toolbar.Pid(), kToUnicodeTitle, kProgressClass, "the progress window");
  HWND heading = GetDlgItem(window, documents_id::kHeading);
  AwaitFirstFinished(window);
  LeftClickAt(VisiblePoint(GetDlgItem(window, documents_id::kCancel)));
  window = AwaitFinishedRun(run.toolbar, kToUnicodeTitle);
  const std::wstring said = WindowText(heading);
  const std::wstring cancelled = L"Cancelled: converted ";
  Expect(said.compare(0, cancelled.size(), cancelled) == 0 &&
             said.find(L" of " + std::to_wstring(kLetters) + L" documents") != std::wstring::npos,
         "after Cancel the window says " + Quote(said));
  const std::wstring summary = WindowText(GetDlgItem(window, documents_id::kSummary));
  Expect(summary.find(L"Converted:\r\n  letter 1.rtf") == 0, "the first letter is not listed as converted: " +
                                                                   Quote(summary));
  Expect(summary.find(L"Cancelled, nothing written:\r\n") != std::wstring::npos &&
             summary.find(L"  letter " + std::to_wstring(kLetters) + L".rtf\r\n") != std::wstring::npos,
         "the summary lists no cancelled files: " + Quote(summary));
  ExpectOnlyFinishedOutputs(run.folder.Dir(), inputs, summary);
  CloseRunWindow(window);
  run.toolbar.Close();
}

// Closing the toolbar mid-run cancels the run the same way and waits for
// its worker before the program ends.
void ClosingTheToolbarCancelsTheRun(const Context& context) {
  ToolbarRun run(context, std::string(kFactoryCustomize));
  const auto inputs = WriteLetters(run.folder.Dir(), kLetters);
  PickInDialog(run.toolbar, run.folder.Dir(), QuotedNames(inputs));
  AwaitFirstFinished(AwaitWindow(run.toolbar.Pid(), kToUnicodeTitle, kProgressClass, "the progress window"));
  run.toolbar.PostClose();
  run.toolbar.ExpectExit("after WM_CLOSE in the middle of a run");
  // The window is gone with the program; the folder tells what was finished:
  // whole outputs of a leading run of the letters, nothing else.
  std::wstring finished;
  int kept = 0;
  for (const auto& input : inputs) {
    const std::wstring output = input.substr(0, input.size() - 4) + L" (Unicode).rtf";
    if (GetFileAttributesW((run.folder.Dir() + L"\\" + output).c_str()) == INVALID_FILE_ATTRIBUTES) break;
    finished += L"  " + input + L" \u2192 " + output + L"\r\n";
    ++kept;
  }
  Expect(kept > 0, "not even the first letter was kept");
  Expect(kept < kLetters, "every letter was converted: the run had ended before the toolbar closed");
  ExpectOnlyFinishedOutputs(run.folder.Dir(), inputs, finished);
}

// The window's rectangle beside a picture, "left top right bottom", so that
// the picture can be cut to it.
void SaveWindowRect(HWND window, const std::wstring& path) {
  const RECT r = ScreenRect(window);
  WriteBytes(path, std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
                       std::to_string(r.bottom) + "\n");
}

void PaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Expect(Responds(window), "a window does not answer messages");
}

}  // namespace

int DocumentPictures(const Context& context, const std::wstring& progress, const std::wstring& summary) {
  try {
    ToolbarRun run(context, std::string(kFactoryCustomize));
    auto names = WriteLetters(run.folder.Dir(), 6);
    WriteBytes(run.folder.Dir() + L"\\old report.docx", "not a zip archive at all");
    names.push_back(L"old report.docx");
    PickInDialog(run.toolbar, run.folder.Dir(), QuotedNames(names));
    HWND window = AwaitWindow(run.toolbar.Pid(), kToUnicodeTitle, kProgressClass, "the progress window");
    HWND heading = GetDlgItem(window, documents_id::kHeading);
    const std::wstring fourth = L"Converting 4 of";
    Expect(WaitUntil([&] { return WindowText(heading).compare(0, fourth.size(), fourth) == 0; }, 60000, 5),
           "the run never showed its fourth file: " + Quote(WindowText(heading)));
    PaintNow(window);
    SaveDesktop(progress);
    SaveWindowRect(window, progress + L".rect");
    window = AwaitFinishedRun(run.toolbar, kToUnicodeTitle);
    PaintNow(window);
    SaveDesktop(summary);
    SaveWindowRect(window, summary + L".rect");
    CloseRunWindow(window);
    run.toolbar.Close();
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "document pictures failed: %s\n", error.what());
    return 1;
  }
}

std::vector<Case> DocumentCases() {
  return {
      {"documents_dialog_converts_beside_the_input", DialogConvertsADocument},
      {"documents_dragged_file_is_converted", DraggedFileIsConverted},
      {"documents_cancel_keeps_finished_files", CancelKeepsFinishedFiles},
      {"documents_closing_the_toolbar_cancels_the_run", ClosingTheToolbarCancelsTheRun},
  };
}

}  // namespace lk::e2e
