#pragma once
#include <windows.h>

#include <string_view>

#include "platform/win32/handles.h"

namespace lk::ui {

// A font of a face (its Unicode name, UTF-8) and point size at a DPI, otherwise as a new font is:
// regular or bold, upright, not underlined.
platform::UniqueFont MakeFont(std::string_view face, double points, bool bold, UINT dpi);

// A combo box's closed height is its selection field plus the frame; the
// field's height is what can be set.
void SetClosedHeight(HWND combo, int pixels);

}  // namespace lk::ui
