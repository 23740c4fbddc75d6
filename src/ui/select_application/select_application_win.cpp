#include "ui/select_application/select_application_win.h"

#include <string>

#include "platform/win32/wide_text.h"
#include "ui/common/dpi.h"
#include "platform/win32/handles.h"

namespace lk::ui::select_application {
void SelectApplicationDialog::Run(platform::Win32Platform& platform, HWND toolbar, HWND targetField) {
  SelectApplicationDialog dialog(platform, targetField);
  dialog.ShowModal(toolbar);
}

void SelectApplicationDialog::Load() {
  model_.Fill();
  FillList();
}

HWND SelectApplicationDialog::FirstFocus() { return Item(id::kCancel); }

void SelectApplicationDialog::FillList() {
  HWND list = Item(id::kList);
  ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
  // The model finds an entry by its place in the list.
  for (const auto& entry : model_.entries())
    ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::FromUtf8(entry.text).c_str()));
}

void SelectApplicationDialog::Ok() {
  std::string target;
  const int selected = static_cast<int>(::SendMessageW(Item(id::kList), LB_GETCURSEL, 0, 0));
  if (model_.Ok(selected, target) == SelectApplicationModel::Outcome::kStayOpen) return;
  if (selected >= 0) platform::SetUtf8Text(targetField_, target);
  Close();
}

void SelectApplicationDialog::OnClick(int controlId) {
  if (controlId == id::kOk) {
    Ok();
  } else if (controlId == id::kRefresh) {
    model_.Refresh();
    FillList();
  }
}

void SelectApplicationDialog::OnCommand(int controlId, int code) {
  if (controlId != id::kList) return;
  if (code == LBN_SELCHANGE)
    model_.PointOut(static_cast<int>(::SendMessageW(Item(id::kList), LB_GETCURSEL, 0, 0)));
  else if (code == LBN_DBLCLK)
    Ok();
}

void SelectApplicationDialog::PaintRules() {
  platform::PaintDc paint(hwnd());
  const int left = TwipsToPixels(kRuleLeft, dpi());
  const int right = TwipsToPixels(kRuleRight, dpi());
  const struct {
    int top;
    int colour;
  } rules[] = {{kDarkRuleTop, COLOR_WINDOWTEXT}, {kLightRuleTop, COLOR_WINDOW}};
  for (const auto& rule : rules) {
    const int y = TwipsToPixels(rule.top, dpi());
    RECT line{left, y, right, y + 1};
    ::FillRect(paint.get(), &line, ::GetSysColorBrush(rule.colour));
  }
}

std::optional<LRESULT> SelectApplicationDialog::OnMessage(UINT msg, WPARAM, LPARAM) {
  if (msg != WM_PAINT) return std::nullopt;
  PaintRules();
  return 0;
}

}  // namespace lk::ui::select_application
