#include "ui/common/quiet_button_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include "diagnostics/debug_log.h"

namespace lk::ui {
namespace {

constexpr UINT_PTR kSubclassId = 0x51;

bool Inside(HWND button, LPARAM lParam) {
  RECT client;
  ::GetClientRect(button, &client);
  const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return ::PtInRect(&client, at) != FALSE;
}

// The button's own press calls SetFocus, which activates the toolbar; the
// press is tracked here instead, with the mouse captured as the button
// would, and reported with the button's own notification.
LRESULT CALLBACK QuietProc(HWND button, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR tips) {
  if (tips) reinterpret_cast<const Tooltips*>(tips)->Relay(button, msg, wParam, lParam);
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      // An owner-drawn button's paint covers every pixel, so its erase (a
      // fill and a colour query of the parent) would be wasted.
      if ((::GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW) return 1;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A quick second click is a click of its own to a person.
      ::SetCapture(button);
      ::SendMessageW(button, BM_SETSTATE, TRUE, 0);
      return 0;
    case WM_MOUSEMOVE:
      if (::GetCapture() == button) {
        const bool inside = Inside(button, lParam);
        if (inside != ((::SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0))
          ::SendMessageW(button, BM_SETSTATE, inside, 0);
        return 0;
      }
      break;
    case WM_LBUTTONUP:
      if (::GetCapture() == button) {
        const bool clicked = Inside(button, lParam);
        ::ReleaseCapture();
        // Posted: the command then runs once this mouse message is done
        // with. Run inside it, the keys a command sends under Wine were
        // measured to take twice as long to reach the target.
        if (clicked)
          ::PostMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      ::SendMessageW(button, BM_SETSTATE, FALSE, 0);
      break;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(button, &QuietProc, kSubclassId);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(button, msg, wParam, lParam);
}

}  // namespace

void MakeQuiet(HWND button, const Tooltips* tips) {
  if (button && !::SetWindowSubclass(button, &QuietProc, kSubclassId, reinterpret_cast<DWORD_PTR>(tips)))
    diagnostics::LogFailure("SetWindowSubclass failed on a button");
}

}  // namespace lk::ui
