#include "ui/select_application/select_application_win.h"

#include <commctrl.h>

#include "platform/win32/wide_text.h"
#include "ui/common/dpi.h"
#include "ui/common/fonts.h"
#include "ui/common/modal_loop.h"

namespace lk::ui::select_application {
namespace {

constexpr wchar_t kClass[] = L"LekhopakarSelectApplication";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

SelectApplicationDialog* g_open = nullptr;

}  // namespace

void SelectApplicationDialog::Run(platform::Win32Platform& platform, HWND toolbar, HWND targetField) {
  if (g_open) return;
  SelectApplicationDialog dialog(platform, targetField);
  if (!dialog.Create(toolbar)) return;
  g_open = &dialog;
  dialog.model_.Fill();
  dialog.FillList();
  // The first showing places it: at (100, 300), above the topmost toolbar.
  const SIZE outer = OuterSizeForClient(kClientWidth, kClientHeight, kStyle, kExStyle, dialog.dpi_);
  ::SetWindowPos(dialog.hwnd(), HWND_TOPMOST, kLeft, kTop, outer.cx, outer.cy, SWP_SHOWWINDOW);
  dialog.placed_ = true;
  ::SetFocus(dialog.Item(id::kCancel));
  RunModal(dialog.hwnd(), toolbar, [&dialog] { return dialog.closed_; });
  g_open = nullptr;
  // The dialog's destructor destroys the window after the toolbar is enabled again.
}

void SelectApplicationDialog::CloseOpen() {
  if (g_open) g_open->closed_ = true;
}

bool SelectApplicationDialog::Create(HWND toolbar) {
  HICON icon = reinterpret_cast<HICON>(::SendMessageW(toolbar, WM_GETICON, ICON_BIG, 0));
  if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrW(toolbar, GCLP_HICON));
  RegisterClassOnce(kClass, 0, nullptr, nullptr, ::GetSysColorBrush(COLOR_BTNFACE));
  const std::wstring caption = win32::Wide(kCaption);
  // Owned by the toolbar: no taskbar button, and it stays above it.
  if (!CreateWindowFor(kClass, kExStyle, caption.c_str(), kStyle, kLeft, kTop, 1, 1, toolbar, nullptr)) return false;
  ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  dpi_ = DpiOf(hwnd());
  font_ = MakeFont("MS Sans Serif", 8, false, dpi_);

  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  for (const auto& design : kControls) {
    const std::wstring text = win32::Wide(design.text);
    const RECT r = TwipRectToPixels(design.rect, dpi_);
    const wchar_t* cls = WC_BUTTONW;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    DWORD ex = 0;
    if (design.id == id::kList) {
      cls = WC_LISTBOXW;
      style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
      ex = WS_EX_CLIENTEDGE;
    } else if (design.id == id::kLabel) {
      cls = WC_STATICW;
      style = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    }
    HWND control = ::CreateWindowExW(ex, cls, text.c_str(), style, r.left, r.top, r.right - r.left,
                                     r.bottom - r.top, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)),
                                     instance, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
  return true;
}

void SelectApplicationDialog::FillList() {
  HWND list = Item(id::kList);
  ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const auto& entry : model_.entries()) {
    const LRESULT index =
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::FromUtf8(entry.text).c_str()));
    if (index >= 0) ::SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(entry.window));
  }
}

void SelectApplicationDialog::OnCommand(int controlId, int code) {
  switch (controlId) {
    case id::kList:
      if (code == LBN_SELCHANGE) {
        model_.PointOut(static_cast<int>(::SendMessageW(Item(id::kList), LB_GETCURSEL, 0, 0)));
        break;
      }
      if (code != LBN_DBLCLK) break;
      [[fallthrough]];
    case id::kOk: {
      if (controlId == id::kOk && code != BN_CLICKED) break;
      std::string target;
      const int selected = static_cast<int>(::SendMessageW(Item(id::kList), LB_GETCURSEL, 0, 0));
      if (model_.Ok(selected, target) == SelectApplicationModel::Outcome::kClose) {
        if (selected >= 0) win32::SetUtf8Text(targetField_, target);
        closed_ = true;
      }
      break;
    }
    case id::kRefresh:
      if (code == BN_CLICKED) {
        model_.Refresh();
        FillList();
      }
      break;
    case id::kCancel:
      if (code == BN_CLICKED) closed_ = true;
      break;
    case IDOK: {
      // Enter: the dialog has no default button, so Enter works the button
      // that has the focus (Cancel, when the dialog has just opened).
      const int focused = ::GetDlgCtrlID(::GetFocus());
      if (focused == id::kCancel || focused == id::kOk || focused == id::kRefresh) OnCommand(focused, BN_CLICKED);
      break;
    }
    default:
      // Escape reaches us as IDCANCEL: no button answers it.
      break;
  }
}

void SelectApplicationDialog::Paint() {
  PaintDc paint(hwnd());
  const int left = TwipsToPixels(kRuleLeft, dpi_);
  const int right = TwipsToPixels(kRuleRight, dpi_);
  const struct {
    int top;
    int colour;
  } rules[] = {{kDarkRuleTop, COLOR_WINDOWTEXT}, {kLightRuleTop, COLOR_WINDOW}};
  for (const auto& rule : rules) {
    const int y = TwipsToPixels(rule.top, dpi_);
    RECT line{left, y, right, y + 1};
    ::FillRect(paint.get(), &line, ::GetSysColorBrush(rule.colour));
  }
}

LRESULT SelectApplicationDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_CLOSE:
      closed_ = true;
      return 0;
    default:
      return Default(msg, wParam, lParam);
  }
}

}  // namespace lk::ui::select_application
