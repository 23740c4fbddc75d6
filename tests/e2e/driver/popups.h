#pragma once
// The windows the toolbar opens over a case: its message boxes and the Select
// Application dialog, found, read, answered as a person answers them, and
// named in a failure's reason when a case did not expect them.
#include <windows.h>

#include <string>
#include <vector>

#include "toolbar_process.h"

namespace lk::e2e {

// Message boxes (of any title) and Select Application dialogs of a process.
std::vector<HWND> MessageBoxes(DWORD pid);
std::vector<HWND> SelectApplicationDialogs(DWORD pid);
// "; a message box says …" for each one open, empty when none is.
std::string DescribePopups(const Toolbar& toolbar);
// Closes whatever of those is open, so a failed round trip does not stall the next.
void DismissPopups(const Toolbar& toolbar);

// The one message box titled "Lekhopakar", once it is shown.
HWND AwaitMessageBox(const Toolbar& toolbar, const std::string& after);
// Its text; fails the case when it has no text control.
std::wstring MessageBoxText(HWND box);
// A click on its OK button; waits until it is gone and the toolbar answers.
void ClickOk(const Toolbar& toolbar, HWND box, const std::string& after);
// Enter once it is in front (a click on its caption brings it there).
void PressEnterOn(HWND box);
// The box that must come: checks its text and clicks OK.
void AnswerMessageBox(const Toolbar& toolbar, const std::wstring& text, const std::string& after);

}  // namespace lk::e2e
