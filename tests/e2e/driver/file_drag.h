#pragma once
// Files dragged onto a window as the file manager drags them: an OLE drag
// (DoDragDrop) of a CF_HDROP data object of our own, the pointer moved with
// SendInput while the drag runs.
#include <windows.h>

#include <string>
#include <vector>

namespace lk::e2e {

struct DragOutcome {
  HRESULT result = E_FAIL;  // what DoDragDrop gave back
  DWORD effect = 0;  // DROPEFFECT_*
  int sourceQueries = 0;  // how often the drag asked our source whether to go on
  std::string Describe() const;
};

// Presses the left button on a window of ours at `from` (as on a file
// manager's list), runs DoDragDrop on this thread and moves the pointer to
// `to` in steps from another, releasing the button there.
DragOutcome DragFiles(const std::vector<std::wstring>& files, POINT from, POINT to);

// A block of memory laid out as a drop's HDROP: DROPFILES, then the wide
// names, each ended by a NUL, and one more NUL.
HGLOBAL MakeHdrop(const std::vector<std::wstring>& files, POINT at);

}  // namespace lk::e2e
