#pragma once
// The real window system behind the four interfaces, made once at start and
// living until the program ends.
#include "platform/platform.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_keyboard.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_windows.h"

namespace lk::platform {

struct Win32Platform {
  Win32Clipboard clipboard;
  Win32Keyboard keyboard;
  Win32Windows windows;
  Win32Shell shell;

  Platform seams() { return {clipboard, keyboard, windows, shell}; }
};

}  // namespace lk::platform
