#include "ui/customize/customize_win.h"

#include <string>
#include <utility>

#include "platform/win32/wide_text.h"
#include "ui/common/colour_win.h"
#include "ui/common/dpi.h"
#include "ui/common/fonts.h"

namespace lk::ui::customize {

void RunCustomizeDialog(platform::Win32Platform& platform, HWND toolbar, const settings::SettingsStore& store,
                        const std::function<void()>& assign) {
  CustomizeDialog dialog(platform, store, assign);
  dialog.ShowModal(toolbar);
}

void CustomizeDialog::Load() {
  swatchBrush_.reset(::CreateSolidBrush(ToColorRef(kSwatchColour)));
  for (const auto& design : Controls())
    if (design.kind == ControlKind::kField && IsOneCharacterField(design.id))
      ::SendMessageW(Item(design.id), EM_LIMITTEXT, 1, 0);
  HWND sizes = Item(id::kSizeList);
  for (const auto size : kSizes)
    ::SendMessageW(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Wide(size).c_str()));
  HWND fonts = Item(id::kFontList);
  model_.Open();
  for (const auto& name : model_.fontNames())
    ::SendMessageW(fonts, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::FromUtf8(name).c_str()));
  PushChanges();
  ShowListSelections();
  ApplyStyledFont();
}

HWND CustomizeDialog::FirstFocus() {
  // A stored count that failed the check while loading asked for the focus
  // before there was a window to give it to; it gets it now, so the user
  // sees which field was emptied. Otherwise the font list has it.
  return Item(focusCountWhenShown_ ? id::kRepeat : id::kFontList);
}

void CustomizeDialog::ApplyStyledFont() {
  // The new font is in every field before the old one is deleted.
  platform::UniqueFont next = MakeFont(model_.styledFontName(), model_.styledPoints(), false, dpi());
  for (const auto& design : Controls())
    if (design.pickedFont) ::SendMessageW(Item(design.id), WM_SETFONT, reinterpret_cast<WPARAM>(next.get()), TRUE);
  styledFont_ = std::move(next);
}

void CustomizeDialog::OnDpiChanged() { ApplyStyledFont(); }

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
    if (platform::GetText(control) != text) platform::SetText(control, text);
  }
  pushing_ = false;
  if (model_.TakeFocusRequest()) {
    if (shown())
      ::SetFocus(Item(id::kRepeat));
    else
      focusCountWhenShown_ = true;
  }
}

void CustomizeDialog::OnFieldEdited(int field) {
  if (pushing_) return;
  model_.SetText(field, platform::GetText(Item(field)));
  PushChanges();
}

void CustomizeDialog::OnClick(int controlId) {
  if (controlId == id::kSave) {
    model_.Save(assign_);
  } else if (controlId == id::kLoadDefault) {
    model_.LoadDefaults();
    PushChanges();
  }
}

void CustomizeDialog::OnCommand(int controlId, int code) {
  if (IsField(controlId)) {
    if (code == EN_CHANGE) OnFieldEdited(controlId);
    return;
  }
  if (code != CBN_SELCHANGE) return;
  const int picked = static_cast<int>(::SendMessageW(Item(controlId), CB_GETCURSEL, 0, 0));
  if (controlId == id::kFontList)
    model_.PickFont(picked);
  else if (controlId == id::kSizeList)
    model_.PickSize(picked);
  else
    return;
  ApplyStyledFont();
}

void CustomizeDialog::PaintSwatch(HDC dc, RECT swatch) const {
  ::FillRect(dc, &swatch, swatchBrush_.get());
  ::FrameRect(dc, &swatch, ::GetSysColorBrush(COLOR_WINDOWTEXT));
}

bool CustomizeDialog::DrawLabel(const DRAWITEMSTRUCT& item) {
  const ControlDesign* design = Design(static_cast<int>(item.CtlID));
  if (item.CtlType != ODT_STATIC || !design || design->kind != ControlKind::kDrawnLabel) return false;
  HDC dc = item.hDC;
  RECT rc = item.rcItem;
  ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
  // The part of the swatch under this label's box, in the label's own
  // coordinates; the DC clips the rest.
  const RECT box = TwipRectToPixels(design->rect, dpi());
  RECT swatch = TwipRectToPixels(kSwatchRect, dpi());
  ::OffsetRect(&swatch, -box.left, -box.top);
  RECT overlap;
  if (::IntersectRect(&overlap, &swatch, &rc)) PaintSwatch(dc, swatch);

  platform::Selected font(dc, DesignFont(*design));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, design->ink ? ToColorRef(*design->ink) : ::GetSysColor(COLOR_BTNTEXT));
  UINT format = DT_NOPREFIX | DT_TOP | (design->wraps ? DT_WORDBREAK : DT_SINGLELINE);
  format |= design->align == Align::kCentre ? DT_CENTER : design->align == Align::kRight ? DT_RIGHT : DT_LEFT;
  const std::wstring text = platform::Wide(design->text);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, format);
  return true;
}

std::optional<LRESULT> CustomizeDialog::OnMessage(UINT msg, WPARAM, LPARAM lParam) {
  switch (msg) {
    case WM_DRAWITEM:
      if (DrawLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_PAINT: {
      platform::PaintDc paint(hwnd());
      PaintSwatch(paint.get(), TwipRectToPixels(kSwatchRect, dpi()));
      return 0;
    }
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace lk::ui::customize
