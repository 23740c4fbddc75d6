#include "ui/common/control_factory_win.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "platform/win32/wide_text.h"
#include "ui/common/dpi.h"
#include "ui/common/fonts.h"
#include "platform/win32/window_base.h"

namespace lk::ui {
namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr int kListRows = 12;  // entries a dropped-down list shows

struct WindowClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

DWORD EditAlignment(Align align) {
  return align == Align::kCentre ? ES_CENTER : align == Align::kRight ? ES_RIGHT : ES_LEFT;
}

DWORD StaticAlignment(Align align) {
  return align == Align::kCentre ? SS_CENTER : align == Align::kRight ? SS_RIGHT : SS_LEFT;
}

WindowClass ClassFor(const ControlDesign& design) {
  const DWORD sorted = design.sorted ? CBS_SORT : 0;
  switch (design.kind) {
    case ControlKind::kLabel:
      return {WC_STATICW, StaticAlignment(design.align) | SS_NOPREFIX, 0};
    case ControlKind::kDrawnLabel:
      // A tooltip needs the label to take the mouse.
      return {WC_STATICW, design.tooltip.empty() ? DWORD{SS_OWNERDRAW} : DWORD{SS_OWNERDRAW | SS_NOTIFY}, 0};
    case ControlKind::kField: {
      // A wrapping field is a page of lines that scrolls down, not across.
      const DWORD lines = design.wraps ? DWORD{ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL} : DWORD{ES_AUTOHSCROLL};
      return {WC_EDITW, lines | EditAlignment(design.align) | (design.readOnly ? ES_READONLY : 0), WS_EX_CLIENTEDGE};
    }
    case ControlKind::kList:
      return {WC_LISTBOXW, WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
    case ControlKind::kPickList:
      // A face colour is ours to paint, entry by entry.
      return {WC_COMBOBOXW,
              WS_VSCROLL | CBS_DROPDOWNLIST | sorted | (design.face ? CBS_OWNERDRAWFIXED | CBS_HASSTRINGS : 0), 0};
    case ControlKind::kComboField:
      return {WC_COMBOBOXW, WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | sorted, 0};
    case ControlKind::kPushButton:
      return {WC_BUTTONW, BS_PUSHBUTTON, 0};
    case ControlKind::kColouredButton:
    case ControlKind::kKey:
      return {WC_BUTTONW, BS_OWNERDRAW, 0};
    case ControlKind::kProgressBar:
      return {PROGRESS_CLASSW, PBS_SMOOTH, 0};
    case ControlKind::kPicture:
      break;
  }
  return {nullptr, 0, 0};
}

bool IsCombo(ControlKind kind) { return kind == ControlKind::kPickList || kind == ControlKind::kComboField; }

// A combo box's window height includes its dropped-down list; the closed
// height is set apart, after the font, which would reset it.
int WindowHeight(const ControlDesign& design, int height) { return IsCombo(design.kind) ? height * kListRows : height; }

void FitCombo(HWND control, const ControlDesign& design, int height, UINT dpi) {
  if (!IsCombo(design.kind)) return;
  SetClosedHeight(control, height);
  if (design.kind == ControlKind::kPickList && design.face)
    ::SendMessageW(control, CB_SETITEMHEIGHT, 0, DrawnItemHeight(dpi));
}

}  // namespace

HFONT DesignFonts::Get(double points, bool bold) {
  for (const auto& m : made_)
    if (m.points == points && m.bold == bold) return m.font.get();
  made_.push_back({points, bold, MakeFont(kDesignFace, points, bold, dpi_)});
  return made_.back().font.get();
}

HFONT DesignFonts::For(const ControlDesign& design) {
  return design.pickedFont ? nullptr : Get(design.points, design.bold);
}

HWND CreateControl(HWND parent, const ControlDesign& design, DesignFonts& fonts) {
  const WindowClass cls = ClassFor(design);
  if (!cls.name) return nullptr;
  const RECT r = TwipRectToPixels(design.rect, fonts.dpi());
  const DWORD style = kChild | cls.style | (IsTabStop(design.kind) ? WS_TABSTOP : 0);
  HWND control = ::CreateWindowExW(cls.exStyle, cls.name, platform::Wide(design.text).c_str(), style, r.left, r.top,
                                   r.right - r.left, WindowHeight(design, r.bottom - r.top), parent, platform::AsMenu(design.id),
                                   ::GetModuleHandleW(nullptr), nullptr);
  if (!control) return nullptr;
  if (HFONT font = fonts.For(design)) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  FitCombo(control, design, r.bottom - r.top, fonts.dpi());
  return control;
}

void PlaceControl(HWND control, const ControlDesign& design, DesignFonts& fonts) {
  const RECT r = TwipRectToPixels(design.rect, fonts.dpi());
  ::MoveWindow(control, r.left, r.top, r.right - r.left, WindowHeight(design, r.bottom - r.top), TRUE);
  if (HFONT font = fonts.For(design)) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  FitCombo(control, design, r.bottom - r.top, fonts.dpi());
}

void CreateControls(HWND parent, std::span<const ControlDesign> table, DesignFonts& fonts, Tooltips& tips) {
  CreateControls(parent, table, fonts);
  SetTooltips(parent, table, tips);
}

void CreateControls(HWND parent, std::span<const ControlDesign> table, DesignFonts& fonts) {
  for (const auto& design : table) CreateControl(parent, design, fonts);
}

void SetTooltips(HWND parent, std::span<const ControlDesign> table, Tooltips& tips) {
  for (const auto& design : table) {
    HWND control = ::GetDlgItem(parent, design.id);
    if (!control || design.tooltip.empty()) continue;
    if (!tips.hwnd()) tips.Create(parent);
    tips.Set(control, design.tooltip);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (design.kind == ControlKind::kComboField && ::GetComboBoxInfo(control, &info) && info.hwndItem)
      tips.Set(info.hwndItem, design.tooltip);
  }
}

void PlaceControls(HWND parent, std::span<const ControlDesign> table, DesignFonts& fonts, UINT dpi) {
  const DesignFonts previous = std::exchange(fonts, DesignFonts(dpi));
  for (const auto& design : table)
    if (HWND control = ::GetDlgItem(parent, design.id)) PlaceControl(control, design, fonts);
}

int DrawnItemHeight(UINT dpi) { return ::MulDiv(16, static_cast<int>(dpi), 96); }

}  // namespace lk::ui
