#pragma once
// The frame window of a stand-in target: its one child fills it and takes its
// focus, and closing it ends the program.
#include <windows.h>

// True when the message was the frame's to handle.
inline bool HandleFrameMessage(HWND frame, UINT msg) {
  HWND child = ::GetWindow(frame, GW_CHILD);
  switch (msg) {
    case WM_SETFOCUS:
      ::SetFocus(child);
      return true;
    case WM_SIZE: {
      RECT client;
      ::GetClientRect(frame, &client);
      ::MoveWindow(child, 0, 0, client.right, client.bottom, TRUE);
      return true;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return true;
    default:
      return false;
  }
}
