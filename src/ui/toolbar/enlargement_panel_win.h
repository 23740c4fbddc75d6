#pragma once
// The panel that floats over the keypad: hidden at start, hidden again by a
// right click, moved inside the toolbar by a left drag.
#include <windows.h>

#include "platform/platform.h"
#include "ui/common/gdi_guards.h"
#include "ui/common/window_base.h"

namespace lk::ui::toolbar {

class EnlargementPanel : public WindowBase {
 public:
  explicit EnlargementPanel(platform::Platform& platform) : platform_(platform) {}
  void Create(HWND parent, int id);
  void SetFont(HFONT font) { font_ = font; }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  platform::Platform& platform_;
  UniqueBrush background_;
  HFONT font_ = nullptr;
};

}  // namespace lk::ui::toolbar
