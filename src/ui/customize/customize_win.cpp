#include "ui/customize/customize_win.h"

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/wide_text.h"
#include "ui/common/dpi.h"
#include "ui/common/fonts.h"
#include "ui/common/modal_loop.h"

namespace lk::ui::customize {
namespace {

constexpr wchar_t kClass[] = L"LekhopakarCustomizeButtons";
// A fixed single border: a caption and a close box, nothing to resize,
// minimize or maximize.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// Topmost from birth: under Wine a later HWND_TOPMOST request was measured
// not to stick on a window created without it.
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT | WS_EX_TOPMOST;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr int kListRows = 12;  // entries a dropped-down list shows

CustomizeDialog* g_open = nullptr;

COLORREF Colour(Rgb c) { return RGB(c.r, c.g, c.b); }
HMENU IdMenu(int controlId) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)); }


bool IsLabel(int controlId) { return controlId > id::Label(0) && controlId <= id::Label(15); }

// The styled fields in the order the font reaches them: Index 0-4 across the
// five rows, then the character and the caption of button 6.
std::vector<int> StyledFields() {
  std::vector<int> fields;
  for (int index = 0; index <= 4; ++index)
    for (int row = 1; row <= kRows; ++row) fields.push_back(id::Field(row, index));
  fields.push_back(id::kCharacter);
  fields.push_back(id::kCaption6);
  return fields;
}

}  // namespace

void RunCustomizeDialog(platform::Win32Platform& platform, HWND toolbar, const settings::SettingsStore& store,
                        const std::function<void()>& assign) {
  if (g_open) return;  // at most one instance
  CustomizeDialog dialog(platform, store, assign);
  g_open = &dialog;
  dialog.Run(toolbar);
  g_open = nullptr;
  // The dialog's destructor destroys the window after the toolbar is enabled again.
}

void CloseCustomizeDialog() {
  if (g_open) g_open->Close();
}

void CustomizeDialog::Run(HWND toolbar) {
  if (!Create(toolbar)) return;
  HWND fonts = Item(id::kFontList);
  model_.Open();
  for (const auto& name : model_.fontNames())
    ::SendMessageW(fonts, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::FromUtf8(name).c_str()));
  PushChanges();
  ShowListSelections();
  ApplyStyledFont();

  // The first showing places it: at (100, 100), topmost, its size unchanged.
  const SIZE outer = OuterSizeForClient(kClientWidth, kClientHeight, kStyle, kExStyle, dpi_);
  ::SetWindowPos(hwnd(), HWND_TOPMOST, kLeft, kTop, outer.cx, outer.cy, SWP_SHOWWINDOW);
  shown_ = true;
  // A stored count that failed the check while loading asked for the focus
  // before there was a window to give it to; it gets it now, so the user
  // sees which field was emptied. Otherwise the font list has it.
  ::SetFocus(Item(focusCountWhenShown_ ? id::kRepeat : id::kFontList));
  RunModal(hwnd(), toolbar, [this] { return closed_; });
}

bool CustomizeDialog::Create(HWND toolbar) {
  HICON big = reinterpret_cast<HICON>(::SendMessageW(toolbar, WM_GETICON, ICON_BIG, 0));
  if (!big) big = reinterpret_cast<HICON>(::GetClassLongPtrW(toolbar, GCLP_HICON));
  HICON smallIcon = reinterpret_cast<HICON>(::SendMessageW(toolbar, WM_GETICON, ICON_SMALL, 0));
  if (!smallIcon) smallIcon = big;
  RegisterClassOnce(kClass, 0, nullptr, nullptr, ::GetSysColorBrush(COLOR_BTNFACE));
  const std::wstring caption = win32::Wide(kCaption);
  // Owned by the toolbar: no taskbar button, and it stays above it.
  if (!CreateWindowFor(kClass, kExStyle, caption.c_str(), kStyle, kLeft, kTop, 1, 1, toolbar, nullptr)) return false;
  ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  swatchBrush_.reset(::CreateSolidBrush(Colour(kSwatchColour)));
  tips_.Create(hwnd());
  CreateControls();
  LayOut();
  return true;
}

void CustomizeDialog::CreateControls() {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  for (const auto& design : Controls()) {
    const std::wstring text = win32::Wide(design.text);
    const wchar_t* cls = WC_EDITW;
    DWORD style = kChild;
    DWORD ex = 0;
    switch (design.kind) {
      case Kind::kFontList:
      case Kind::kSizeList:
        cls = WC_COMBOBOXW;
        // Picked, never typed; the fonts keep the system's order.
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
        break;
      case Kind::kField:
        ex = WS_EX_CLIENTEDGE;
        style |= WS_TABSTOP | ES_AUTOHSCROLL;
        style |= design.align == Align::kCentre ? ES_CENTER : ES_LEFT;
        if (design.readOnly) style |= ES_READONLY;
        break;
      case Kind::kButton:
        // Plain push buttons: none is the default or the cancel button.
        cls = WC_BUTTONW;
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
      case Kind::kLabel:
        // Drawn by us, so the swatch can show through where a label's box
        // covers it; a tooltip needs the label to take the mouse.
        cls = WC_STATICW;
        style |= SS_OWNERDRAW | (design.tooltip.empty() ? 0 : SS_NOTIFY);
        break;
    }
    HWND control = ::CreateWindowExW(ex, cls, text.c_str(), style, 0, 0, 1, 1, hwnd(), IdMenu(design.id), instance,
                                     nullptr);
    if (design.kind == Kind::kField && IsOneCharacterField(design.id)) ::SendMessageW(control, EM_LIMITTEXT, 1, 0);
    if (design.kind == Kind::kSizeList) {
      for (const auto size : kSizes)
        ::SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::Wide(size).c_str()));
    }
    if (!design.tooltip.empty()) tips_.Set(control, design.tooltip);
  }
}

void CustomizeDialog::LayOut() {
  dpi_ = DpiOf(hwnd());
  UniqueFont dialogFont = MakeFont(kDialogFont, kDialogPoints, false, dpi_);
  UniqueFont headingFont = MakeFont(kDialogFont, kHeadingPoints, true, dpi_);
  for (const auto& design : Controls()) {
    HWND control = Item(design.id);
    const RECT r = TwipRectToPixels(design.rect, dpi_);
    const int height = r.bottom - r.top;
    const bool list = design.kind == Kind::kFontList || design.kind == Kind::kSizeList;
    // A combo box's window height includes its dropped-down list.
    ::MoveWindow(control, r.left, r.top, r.right - r.left, list ? height * kListRows : height, TRUE);
    if (design.font != FontRole::kStyled) {
      HFONT font = design.font == FontRole::kHeading ? headingFont.get() : dialogFont.get();
      ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    if (list) SetClosedHeight(control, height);
  }
  // Every control holds the new fonts before the old ones are deleted.
  dialogFont_ = std::move(dialogFont);
  headingFont_ = std::move(headingFont);
  if (styledFont_) ApplyStyledFont();
}

void CustomizeDialog::ApplyStyledFont() {
  // The new font is in every field before the old one is deleted.
  UniqueFont next = MakeFont(model_.styledFontName(), model_.styledPoints(), false, dpi_);
  for (const int field : StyledFields())
    ::SendMessageW(Item(field), WM_SETFONT, reinterpret_cast<WPARAM>(next.get()), TRUE);
  styledFont_ = std::move(next);
}

void CustomizeDialog::ShowListSelections() {
  ::SendMessageW(Item(id::kFontList), CB_SETCURSEL, static_cast<WPARAM>(model_.fontIndex()), 0);
  ::SendMessageW(Item(id::kSizeList), CB_SETCURSEL, static_cast<WPARAM>(model_.sizeIndex()), 0);
}

void CustomizeDialog::PushChanges() {
  pushing_ = true;
  for (const int field : model_.TakeChangedFields()) {
    HWND control = Item(field);
    const std::string& text = model_.Text(field);
    // What the user just typed is already there; rewriting it would move the caret.
    if (win32::GetText(control) != text) win32::SetText(control, text);
  }
  pushing_ = false;
  if (model_.TakeFocusRequest()) {
    if (shown_)
      ::SetFocus(Item(id::kRepeat));
    else
      focusCountWhenShown_ = true;
  }
}

void CustomizeDialog::OnFieldEdited(int field) {
  if (pushing_) return;
  model_.SetText(field, win32::GetText(Item(field)));
  PushChanges();
}

void CustomizeDialog::OnCommand(int controlId, int code) {
  if (IsField(controlId)) {
    if (code == EN_CHANGE) OnFieldEdited(controlId);
    return;
  }
  switch (controlId) {
    case id::kFontList:
      if (code == CBN_SELCHANGE) {
        model_.PickFont(static_cast<int>(::SendMessageW(Item(controlId), CB_GETCURSEL, 0, 0)));
        ApplyStyledFont();
      }
      break;
    case id::kSizeList:
      if (code == CBN_SELCHANGE) {
        model_.PickSize(static_cast<int>(::SendMessageW(Item(controlId), CB_GETCURSEL, 0, 0)));
        ApplyStyledFont();
      }
      break;
    case id::kSave:
      if (code == BN_CLICKED) model_.Save(assign_);
      break;
    case id::kLoadDefault:
      if (code == BN_CLICKED) {
        model_.LoadDefaults();
        PushChanges();
      }
      break;
    case id::kClose:
      if (code == BN_CLICKED) closed_ = true;
      break;
    case IDOK: {
      // Enter reaches us as IDOK. With no default button it neither saves nor
      // closes from a field; on a focused button it works that button.
      const int focused = ::GetDlgCtrlID(::GetFocus());
      if (focused == id::kSave || focused == id::kLoadDefault || focused == id::kClose)
        OnCommand(focused, BN_CLICKED);
      break;
    }
    default:
      // Escape reaches us as IDCANCEL: no button answers it.
      break;
  }
}

void CustomizeDialog::PaintSwatch(HDC dc, RECT swatch) const {
  ::FillRect(dc, &swatch, swatchBrush_.get());
  ::FrameRect(dc, &swatch, ::GetSysColorBrush(COLOR_WINDOWTEXT));
}

bool CustomizeDialog::DrawLabel(const DRAWITEMSTRUCT& item) {
  const int controlId = static_cast<int>(item.CtlID);
  if (item.CtlType != ODT_STATIC || !IsLabel(controlId)) return false;
  const ControlDesign& design = Control(controlId);
  HDC dc = item.hDC;
  RECT rc = item.rcItem;
  ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
  // The part of the swatch under this label's box, in the label's own
  // coordinates; the DC clips the rest.
  const RECT box = TwipRectToPixels(design.rect, dpi_);
  RECT swatch = TwipRectToPixels(kSwatchRect, dpi_);
  ::OffsetRect(&swatch, -box.left, -box.top);
  RECT overlap;
  if (::IntersectRect(&overlap, &swatch, &rc)) PaintSwatch(dc, swatch);

  const bool heading = design.font == FontRole::kHeading;
  Selected font(dc, heading ? headingFont_.get() : dialogFont_.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, heading ? Colour(kHeadingColour) : ::GetSysColor(COLOR_BTNTEXT));
  UINT format = DT_NOPREFIX | DT_TOP | (design.wraps ? DT_WORDBREAK : DT_SINGLELINE);
  format |= design.align == Align::kCentre ? DT_CENTER : design.align == Align::kRight ? DT_RIGHT : DT_LEFT;
  const std::wstring text = win32::Wide(design.text);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, format);
  return true;
}

LRESULT CustomizeDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DRAWITEM:
      if (DrawLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_PAINT: {
      PaintDc paint(hwnd());
      PaintSwatch(paint.get(), TwipRectToPixels(kSwatchRect, dpi_));
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      // Read-only fields keep the look of the others: they can still be
      // selected and copied.
      HWND control = reinterpret_cast<HWND>(lParam);
      if (IsField(::GetDlgCtrlID(control))) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    }
    case WM_ACTIVATE:
      // Not a system dialog: the focus has to be carried across deactivation
      // (a message box, another program) by hand.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd(), focus)) lastFocus_ = focus;
        return 0;
      }
      if (lastFocus_ && ::IsWindow(lastFocus_)) {
        ::SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      LayOut();
      ::InvalidateRect(hwnd(), nullptr, TRUE);
      return 0;
    }
    case WM_CLOSE:
      // The close box unloads like Close: unsaved edits are lost.
      closed_ = true;
      return 0;
    default:
      break;
  }
  return Default(msg, wParam, lParam);
}

}  // namespace lk::ui::customize
