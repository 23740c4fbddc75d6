#pragma once
#include <windows.h>

#include <functional>

#include "platform/win32/win32_platform.h"
#include "settings/settings_store.h"
#include "ui/common/gdi_guards.h"
#include "ui/common/tooltips.h"
#include "ui/common/window_base.h"
#include "ui/customize/customize_model.h"

namespace lk::ui::customize {

// Shows the Customize Buttons dialog modally over the toolbar and returns when
// it has closed. Save calls `assign` after writing, so the toolbar relabels
// its buttons while the dialog stays open.
void RunCustomizeDialog(platform::Win32Platform& platform, HWND toolbar, const settings::SettingsStore& store,
                        const std::function<void()>& assign);
// Closes an open dialog without saving, as when the toolbar itself goes away.
void CloseCustomizeDialog();

// Created for each opening and destroyed when it closes, so every opening
// loads the settings afresh and unsaved edits are lost.
class CustomizeDialog : public WindowBase {
 public:
  CustomizeDialog(platform::Win32Platform& platform, const settings::SettingsStore& store,
                  const std::function<void()>& assign)
      : model_(platform.shell, store), assign_(assign) {}

  void Run(HWND toolbar);
  void Close() { closed_ = true; }

 private:
  bool Create(HWND toolbar);
  void CreateControls();
  void LayOut();
  void ApplyStyledFont();
  void ShowListSelections();
  // Copies the texts the model changed to their controls, then honours a
  // focus request of the count check.
  void PushChanges();
  void OnFieldEdited(int field);
  void OnCommand(int controlId, int code);
  bool DrawLabel(const DRAWITEMSTRUCT& item);
  void PaintSwatch(HDC dc, RECT swatch) const;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  HWND Item(int controlId) const { return ::GetDlgItem(hwnd(), controlId); }

  CustomizeModel model_;
  std::function<void()> assign_;
  Tooltips tips_;
  UINT dpi_ = 96;
  UniqueFont dialogFont_;
  UniqueFont headingFont_;
  UniqueFont styledFont_;
  UniqueBrush swatchBrush_;
  HWND lastFocus_ = nullptr;
  bool pushing_ = false;  // our own SetWindowText, not an edit to hand on
  bool shown_ = false;
  bool focusCountWhenShown_ = false;
  bool closed_ = false;
};

}  // namespace lk::ui::customize
