#pragma once
// The window both dialogs live in: owned by the toolbar and topmost from
// birth, placed at the dialog's own screen corner, run modally, with the
// toolbar's icon, Enter and Tab as our dialogs have them, the focus carried
// across deactivation and handed back on closing, and controls that follow
// the monitor's DPI. The dialog itself fills its controls and answers them.
#include <windows.h>

#include <optional>
#include <span>

#include "ui/common/control_factory_win.h"
#include "ui/common/tooltips.h"
#include "platform/win32/window_base.h"
#include "ui/layout/control_design.h"
#include "ui/layout/dialog_design.h"

namespace lk::ui {

// What sets one dialog's window apart from another's.
struct DialogFrame {
  const wchar_t* className;
  DWORD exStyle;  // WS_EX_TOPMOST is added
  DialogDesign design;
  int closeButton;  // Cancel or Close: it closes the dialog as the close box does
};

class ModalDialog : public platform::WindowBase {
 public:
  // Shows the dialog over `owner`, which takes no input meanwhile, and
  // returns once it has closed. While a dialog of this kind is open, another
  // one does not open.
  void ShowModal(HWND owner);
  // Closes every open dialog, with nothing saved, as when the toolbar itself
  // goes away.
  static void CloseOpen();

 protected:
  // `controls` in creation order, which is also the tab order; the table
  // must outlive the dialog.
  ModalDialog(const DialogFrame& frame, std::span<const ControlDesign> controls)
      : frame_(frame), controls_(controls) {}

  void Close() { closed_ = true; }
  bool shown() const { return shown_; }
  UINT dpi() const { return fonts_.dpi(); }
  HWND Item(int controlId) const { return ::GetDlgItem(hwnd(), controlId); }
  // nullptr for an identifier that is none of the dialog's controls.
  const ControlDesign* Design(int controlId) const { return FindControl(controls_, controlId); }
  HFONT DesignFont(const ControlDesign& design) { return fonts_.For(design); }

  // The controls exist and the dialog is not shown yet: fill them.
  virtual void Load() = 0;
  // The control that has the focus when the dialog first shows.
  virtual HWND FirstFocus() = 0;
  // A click on one of the dialog's push buttons but the close button, or
  // Enter while it has the focus.
  virtual void OnClick(int controlId) = 0;
  // Any other notification of a control.
  virtual void OnCommand(int controlId, int code) = 0;
  // The controls have their places and design fonts at the new DPI; what
  // else the dialog draws at the DPI follows here.
  virtual void OnDpiChanged() {}
  // Messages the shell leaves to the dialog; nullopt: the default answer.
  virtual std::optional<LRESULT> OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) final;
  bool Create(HWND owner);
  void Place();
  void LayOut(UINT newDpi);
  void OnEnter();
  void Click(int controlId);
  bool IsPushButton(int controlId) const;
  bool OnActivate(WPARAM wParam);

  DialogFrame frame_;
  std::span<const ControlDesign> controls_;
  DesignFonts fonts_;
  Tooltips tips_;
  HWND lastFocus_ = nullptr;
  bool shown_ = false;
  bool closed_ = false;
};

}  // namespace lk::ui
