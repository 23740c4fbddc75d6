#pragma once
// A child window that shows a bitmap from the resources at its top-left
// corner, scaled with the monitor's DPI, and tells its parent when clicked
// (WM_COMMAND with STN_CLICKED), like a notifying static control.
#include <windows.h>

#include <optional>

#include "platform/win32/handles.h"
#include "platform/win32/window_base.h"

namespace lk::ui {

class PictureWindow : public platform::WindowBase {
 public:
  // transparentKey: pixels of this colour show the background instead.
  // fit: the picture fills the window instead of keeping its own size.
  void Create(HWND parent, int id, int bitmapResource, COLORREF background,
              std::optional<COLORREF> transparentKey, bool fit = false);
  void SetDpi(UINT dpi);

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Paint();

  platform::UniqueBitmap bitmap_;
  COLORREF background_ = 0;
  std::optional<COLORREF> key_;
  UINT dpi_ = 96;
  bool fit_ = false;
  bool pressed_ = false;
};

}  // namespace lk::ui
