#pragma once
#include <windows.h>

#include <functional>
#include <optional>

#include "platform/win32/win32_platform.h"
#include "settings/settings_store.h"
#include "platform/win32/handles.h"
#include "ui/common/modal_dialog_win.h"
#include "ui/customize/customize_layout.h"
#include "ui/customize/customize_model.h"

namespace lk::ui::customize {

// Shows the Customize Buttons dialog modally over the toolbar and returns when
// it has closed. Save calls `assign` after writing, so the toolbar relabels
// its buttons while the dialog stays open.
void RunCustomizeDialog(platform::Win32Platform& platform, HWND toolbar, const settings::SettingsStore& store,
                        const std::function<void()>& assign);

// Close, like the close box, loses unsaved edits.
inline constexpr DialogFrame kFrame{L"LekhopakarCustomizeButtons", WS_EX_CONTROLPARENT, kDesign, id::kClose};

// Created for each opening and destroyed when it closes, so every opening
// loads the settings afresh and unsaved edits are lost.
class CustomizeDialog : public ModalDialog {
 public:
  CustomizeDialog(platform::Win32Platform& platform, const settings::SettingsStore& store,
                  const std::function<void()>& assign)
      : ModalDialog(kFrame, Controls()), model_(platform.shell, store), assign_(assign) {}

 private:
  void Load() override;
  HWND FirstFocus() override;
  void OnClick(int controlId) override;
  void OnCommand(int controlId, int code) override;
  void OnDpiChanged() override;
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void ApplyStyledFont();
  void ShowListSelections();
  // Copies the texts the model changed to their controls, then honours a
  // focus request of the count check.
  void PushChanges();
  void OnFieldEdited(int field);
  bool DrawLabel(const DRAWITEMSTRUCT& item);
  void PaintSwatch(HDC dc, RECT swatch) const;

  CustomizeModel model_;
  std::function<void()> assign_;
  platform::UniqueFont styledFont_;
  platform::UniqueBrush swatchBrush_;
  bool pushing_ = false;  // our own SetWindowText, not an edit to hand on
  bool focusCountWhenShown_ = false;
};

}  // namespace lk::ui::customize
