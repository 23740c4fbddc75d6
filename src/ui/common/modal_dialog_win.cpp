#include "ui/common/modal_dialog_win.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/wide_text.h"
#include "ui/common/dpi.h"
#include "ui/common/modal_loop.h"

namespace lk::ui {
namespace {

// A fixed single border: a caption and a close box, nothing to resize,
// minimize or maximize.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

std::vector<ModalDialog*> g_open;

// Keeps a dialog among the open ones for as long as it runs, however it ends.
class OpenDialog {
 public:
  explicit OpenDialog(ModalDialog* dialog) : dialog_(dialog) { g_open.push_back(dialog); }
  ~OpenDialog() { g_open.erase(std::find(g_open.begin(), g_open.end(), dialog_)); }
  OpenDialog(const OpenDialog&) = delete;
  OpenDialog& operator=(const OpenDialog&) = delete;

 private:
  ModalDialog* dialog_;
};

HICON OwnerIcon(HWND owner, WPARAM which) {
  HICON icon = reinterpret_cast<HICON>(::SendMessageW(owner, WM_GETICON, which, 0));
  if (!icon && which == ICON_BIG) icon = reinterpret_cast<HICON>(::GetClassLongPtrW(owner, GCLP_HICON));
  return icon;
}

}  // namespace

void ModalDialog::ShowModal(HWND owner) {
  const bool sameKindOpen = std::any_of(g_open.begin(), g_open.end(), [this](const ModalDialog* open) {
    return std::wcscmp(open->frame_.className, frame_.className) == 0;
  });
  if (sameKindOpen) return;
  OpenDialog registered(this);
  HWND previousFocus = ::GetFocus();
  if (!Create(owner)) return;
  Load();
  Place();
  shown_ = true;
  ::SetFocus(FirstFocus());
  RunModal(hwnd(), owner, [this] { return closed_; });
  // The owner takes input again, so destroying the dialog hands the
  // activation back to it; the focus goes where it was, unless that window
  // is gone or no longer in front (the toolbar closing, say).
  ::DestroyWindow(hwnd());
  if (previousFocus && ::IsWindow(previousFocus) && ::GetAncestor(previousFocus, GA_ROOT) == ::GetActiveWindow())
    ::SetFocus(previousFocus);
}

void ModalDialog::CloseOpen() {
  for (ModalDialog* open : g_open) open->Close();
}

bool ModalDialog::Create(HWND owner) {
  HICON big = OwnerIcon(owner, ICON_BIG);
  HICON smallIcon = OwnerIcon(owner, ICON_SMALL);
  RegisterClassOnce(frame_.className, 0, nullptr, nullptr, ::GetSysColorBrush(COLOR_BTNFACE));
  const DialogDesign& layout = frame_.design;
  const std::wstring caption = platform::Wide(layout.caption);
  // Owned by the toolbar: no taskbar button, and it stays above it. Topmost
  // from birth: under Wine a later HWND_TOPMOST request was measured not to
  // stick on a window created without it.
  if (!CreateWindowFor(frame_.className, frame_.exStyle | WS_EX_TOPMOST, caption.c_str(), kStyle, layout.left,
                       layout.top, 1, 1, owner, nullptr))
    return false;
  ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon ? smallIcon : big));
  fonts_ = DesignFonts(DpiOf(hwnd()));
  CreateControls(hwnd(), controls_, fonts_, tips_);
  return true;
}

void ModalDialog::Place() {
  const DialogDesign& layout = frame_.design;
  const SIZE outer =
      OuterSizeForClient(layout.clientWidth, layout.clientHeight, kStyle, frame_.exStyle | WS_EX_TOPMOST, dpi());
  ::SetWindowPos(hwnd(), HWND_TOPMOST, layout.left, layout.top, outer.cx, outer.cy, SWP_SHOWWINDOW);
}

void ModalDialog::LayOut(UINT newDpi) {
  PlaceControls(hwnd(), controls_, fonts_, newDpi);
}

void ModalDialog::OnEnter() {
  // Neither dialog has a default button: Enter works the push button that
  // has the focus, and from any other control it does nothing.
  HWND focus = ::GetFocus();
  if (!focus || !::IsChild(hwnd(), focus)) return;
  Click(::GetDlgCtrlID(focus));
}

void ModalDialog::Click(int controlId) {
  if (controlId == frame_.closeButton)
    Close();
  else if (IsPushButton(controlId))
    OnClick(controlId);
}

bool ModalDialog::IsPushButton(int controlId) const {
  const ControlDesign* design = Design(controlId);
  return design && design->kind == ControlKind::kPushButton;
}

bool ModalDialog::OnActivate(WPARAM wParam) {
  // Not a system dialog: the focus has to be carried across deactivation (a
  // message box, another program) by hand.
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(hwnd(), focus)) lastFocus_ = focus;
    return true;
  }
  if (lastFocus_ && ::IsWindow(lastFocus_)) {
    ::SetFocus(lastFocus_);
    return true;
  }
  return false;
}

std::optional<LRESULT> ModalDialog::OnMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }

LRESULT ModalDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND: {
      // Enter and Escape reach us as IDOK and IDCANCEL. With no cancel
      // button, Escape does nothing.
      const int controlId = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (controlId == IDOK)
        OnEnter();
      else if (IsPushButton(controlId) && code == BN_CLICKED)
        Click(controlId);
      else if (controlId != IDCANCEL)
        OnCommand(controlId, code);
      return 0;
    }
    case WM_ACTIVATE:
      if (OnActivate(wParam)) return 0;
      break;
    case WM_DPICHANGED: {
      LayOut(MoveForDpiChange(hwnd(), wParam, lParam));
      OnDpiChanged();
      ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      // Read-only fields keep the look of the others: they can still be
      // selected and copied.
      const ControlDesign* design = Design(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
      if (!design || design->kind != ControlKind::kField) break;
      HDC dc = reinterpret_cast<HDC>(wParam);
      ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
      ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_CLOSE:
      // The close box is the dialog's Cancel or Close: nothing is kept.
      closed_ = true;
      return 0;
    default:
      break;
  }
  if (const auto answer = OnMessage(msg, wParam, lParam)) return *answer;
  return Default(msg, wParam, lParam);
}

}  // namespace lk::ui
