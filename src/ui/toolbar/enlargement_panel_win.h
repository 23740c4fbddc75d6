#pragma once
// The panel that floats over the keypad: hidden at start, hidden again by a
// right click, moved inside the toolbar by a left drag.
#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/window_base.h"

namespace lk::ui::toolbar {

class EnlargementPanel : public platform::WindowBase {
 public:
  void Create(HWND parent, int id);
  void SetFont(HFONT font);
  // Shows the panel with the character drawn large and centred.
  void ShowCharacter(unsigned char code);

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Paint();

  platform::UniqueBrush background_;
  HFONT font_ = nullptr;
  int code_ = -1;  // nothing drawn yet
};

}  // namespace lk::ui::toolbar
