#pragma once
#include <windows.h>

#include <memory>

#include "platform/win32/win32_platform.h"
#include "ui/common/gdi_guards.h"
#include "ui/common/window_base.h"
#include "ui/select_application/select_application_model.h"

namespace lk::ui::select_application {

// Created for each opening and destroyed when it closes, so every opening
// starts with a fresh list.
class SelectApplicationDialog : public WindowBase {
 public:
  // Shows the dialog modally over the toolbar and returns when it has closed;
  // OK puts the chosen title into the target field.
  static void Run(platform::Win32Platform& platform, HWND toolbar, HWND targetField);

  // Closes an open dialog, as when the toolbar itself goes away.
  static void CloseOpen();

 private:
  SelectApplicationDialog(platform::Win32Platform& platform, HWND targetField)
      : model_(platform.windows, platform.shell), targetField_(targetField) {}

  bool Create(HWND toolbar);
  void FillList();
  void OnCommand(int id, int code);
  void Paint();
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  HWND Item(int controlId) const { return ::GetDlgItem(hwnd(), controlId); }

  SelectApplicationModel model_;
  HWND targetField_;
  UINT dpi_ = 96;
  UniqueFont font_;
  bool closed_ = false;
  bool placed_ = false;
};

}  // namespace lk::ui::select_application
