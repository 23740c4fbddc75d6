#include "popups.h"

#include "check.h"
#include "input.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {

std::vector<HWND> MessageBoxes(DWORD pid) {
  struct State {
    DWORD pid;
    std::vector<HWND> found;
  } state{pid, {}};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<State*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.pid && IsWindowVisible(window) && ClassName(window) == L"#32770") s.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&state));
  return state.found;
}

std::vector<HWND> SelectApplicationDialogs(DWORD pid) { return TopLevelWindows(pid, L"Select Application"); }

std::string DescribePopups(const Toolbar& toolbar) {
  std::string out;
  for (HWND box : MessageBoxes(toolbar.Pid()))
    out += "; a message box says " + Quote(WindowText(GetDlgItem(box, 0xFFFF)));
  if (!SelectApplicationDialogs(toolbar.Pid()).empty()) out += "; Select Application is open";
  return out;
}

void DismissPopups(const Toolbar& toolbar) {
  int quietRounds = 0;
  WaitUntil(
      [&] {
        const auto boxes = MessageBoxes(toolbar.Pid());
        const auto dialogs = SelectApplicationDialogs(toolbar.Pid());
        for (HWND box : boxes) PostMessageW(box, WM_COMMAND, IDOK, 0);
        for (HWND dialog : dialogs) PostMessageW(dialog, WM_CLOSE, 0, 0);
        // A closed box may open the dialog next: quiet only when two rounds
        // after the program has answered find nothing.
        Responds(toolbar.Window());
        quietRounds = boxes.empty() && dialogs.empty() ? quietRounds + 1 : 0;
        return quietRounds >= 2;
      },
      kUiTimeoutMs, 50);
}

HWND AwaitMessageBox(const Toolbar& toolbar, const std::string& after) {
  std::vector<HWND> boxes;
  Expect(WaitUntil(
             [&] {
               boxes = TopLevelWindows(toolbar.Pid(), kToolbarTitle, L"#32770");
               return !boxes.empty();
             },
             kUiTimeoutMs),
         "no message box titled \"Lekhopakar\" " + after + DescribePopups(toolbar));
  Expect(boxes.size() == 1, std::to_string(boxes.size()) + " message boxes " + after);
  return boxes.front();
}

std::wstring MessageBoxText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  Expect(text != nullptr, "the message box has no text control (ID 0xFFFF)");
  return WindowText(text);
}

void ClickOk(const Toolbar& toolbar, HWND box, const std::string& after) {
  HWND ok = GetDlgItem(box, IDOK);
  Expect(ok != nullptr, "the message box has no OK button");
  LeftClickAt(Centre(ScreenRect(ok)));
  Expect(WaitUntil([&] { return !IsWindow(box); }, kUiTimeoutMs),
         "a click on OK did not close the message box " + after);
  Expect(Responds(toolbar.Window()), "the toolbar does not answer after its message box");
}

void PressEnterOn(HWND box) {
  ActivateByCaptionClick(box);
  PressKeys({VK_RETURN});
  Expect(WaitUntil([&] { return !IsWindow(box); }, kUiTimeoutMs), "Enter did not close the message box");
}

void AnswerMessageBox(const Toolbar& toolbar, const std::wstring& text, const std::string& after) {
  HWND box = AwaitMessageBox(toolbar, after);
  const std::wstring shown = MessageBoxText(box);
  Expect(shown == text, "the message box " + after + " says " + Quote(shown) + ", expected " + Quote(text));
  ClickOk(toolbar, box, after);
}

}  // namespace lk::e2e
