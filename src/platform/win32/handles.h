#pragma once
#include <windows.h>

#include "platform/window_handle.h"

namespace lk::platform {

inline HWND ToHwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }
inline WindowHandle FromHwnd(HWND h) { return reinterpret_cast<WindowHandle>(h); }

}  // namespace lk::platform
