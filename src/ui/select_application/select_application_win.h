#pragma once
#include <windows.h>

#include <optional>

#include "platform/win32/win32_platform.h"
#include "ui/common/modal_dialog_win.h"
#include "ui/select_application/select_application_layout.h"
#include "ui/select_application/select_application_model.h"

namespace lk::ui::select_application {

inline constexpr DialogFrame kFrame{L"LekhopakarSelectApplication", WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                                    kDesign, id::kCancel};

// Created for each opening and destroyed when it closes, so every opening
// starts with a fresh list.
class SelectApplicationDialog : public ModalDialog {
 public:
  // Shows the dialog modally over the toolbar and returns when it has closed;
  // OK puts the chosen title into the target field.
  static void Run(platform::Win32Platform& platform, HWND toolbar, HWND targetField);

 private:
  SelectApplicationDialog(platform::Win32Platform& platform, HWND targetField)
      : ModalDialog(kFrame, Controls()), model_(platform.windows, platform.shell), targetField_(targetField) {}

  void Load() override;
  HWND FirstFocus() override;
  void OnClick(int controlId) override;
  void OnCommand(int controlId, int code) override;
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void FillList();
  // OK, or a double click on an entry.
  void Ok();
  void PaintRules();

  SelectApplicationModel model_;
  HWND targetField_;
};

}  // namespace lk::ui::select_application
