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

// For a frame with nothing of its own to handle.
inline LRESULT CALLBACK PlainFrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return HandleFrameMessage(hwnd, msg) ? 0 : ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

inline void RegisterWindowClass(const wchar_t* name, WNDPROC proc, LPCWSTR cursor = IDC_ARROW,
                                HBRUSH background = nullptr) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = proc;
  cls.hInstance = ::GetModuleHandleW(nullptr);
  cls.lpszClassName = name;
  cls.hCursor = ::LoadCursorW(nullptr, cursor);
  cls.hbrBackground = background;
  ::RegisterClassW(&cls);
}

// A visible frame of its own class; the test driver moves it where it wants it.
inline HWND CreateFrame(const wchar_t* className, const wchar_t* title, WNDPROC proc, RECT place) {
  RegisterWindowClass(className, proc);
  return ::CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, place.left, place.top,
                           place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
}

// The child that holds the text, filling the frame's client area.
inline HWND CreateTextChild(HWND frame, const wchar_t* className, DWORD style, DWORD exStyle = 0) {
  RECT client;
  ::GetClientRect(frame, &client);
  return ::CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, client.right,
                           client.bottom, frame, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

inline int RunMessageLoop() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
