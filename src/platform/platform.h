#pragma once
// The window system as the portable core sees it: four narrow interfaces,
// implemented for the real program in win32/ and by a scripted fake for the
// tests. Code that needs one of them takes that one; the target link and the
// commands, which need them all, take this bundle.
#include "platform/clipboard.h"
#include "platform/keyboard.h"
#include "platform/shell.h"
#include "platform/window_handle.h"
#include "platform/other_windows.h"

namespace lk::platform {

struct Platform {
  Clipboard& clipboard;
  Keyboard& keyboard;
  Windows& windows;
  Shell& shell;
};

}  // namespace lk::platform
