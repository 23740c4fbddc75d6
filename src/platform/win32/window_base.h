#pragma once
// Every window of ours derives from WindowBase: one static window procedure
// finds the object stored at WM_NCCREATE and forwards to its HandleMessage.
#include <windows.h>

namespace lk::platform {

// A child's control identifier where CreateWindowEx takes a menu.
inline HMENU AsMenu(int controlId) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)); }

class WindowBase {
 public:
  WindowBase() = default;
  virtual ~WindowBase();
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND hwnd() const { return hwnd_; }

 protected:
  // Registers the class once per process; all our classes share the thunk.
  static void RegisterClassOnce(const wchar_t* className, UINT style, HCURSOR cursor, HICON icon,
                                HBRUSH background);
  HWND CreateWindowFor(const wchar_t* className, DWORD exStyle, const wchar_t* title, DWORD style, int x, int y,
                       int width, int height, HWND parent, HMENU menuOrId);

  // Unhandled messages must go to Default(). An exception never reaches the
  // system: the thunk answers that message as DefWindowProc would.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return ::DefWindowProcW(hwnd_, msg, wParam, lParam); }

 private:
  static LRESULT CALLBACK Thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

}  // namespace lk::platform
