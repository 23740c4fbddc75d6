#pragma once
// The one interface through which the program reaches the window system.
// Win32 implements it for the real program; the recording fake implements it
// for the unit tests. Texts are legacy-font (Windows-1252) bytes; the Win32
// side converts at each call.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lk::platform {

using WindowHandle = std::uintptr_t;

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Message-box flags and answers, with the values the window system gives them.
namespace box {
inline constexpr unsigned kOk = 0;
inline constexpr unsigned kYesNo = 4;
inline constexpr unsigned kIconStop = 16;
inline constexpr unsigned kIconInformation = 64;
inline constexpr unsigned kSystemModal = 4096;
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;
}  // namespace box

inline constexpr unsigned kKeyUp = 2;

// Result of activating a window by its title: code 0 on success, 5 when no
// window matches, anything else with a description.
struct Activation {
  int code = 0;
  std::string description;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Windows and placement.
  virtual bool GetWindowRect(WindowHandle window, Rect& rect) = 0;
  virtual bool SetWindowPosTopmost(WindowHandle window, int x, int y, int width, int height) = 0;

  // The window catalogue's queries.
  virtual std::vector<WindowHandle> EnumTopLevelWindows() = 0;
  virtual bool IsWindow(WindowHandle window) = 0;
  virtual bool IsWindowVisible(WindowHandle window) = 0;
  virtual bool IsWindowEnabled(WindowHandle window) = 0;
  virtual std::string GetWindowTitle(WindowHandle window) = 0;
  virtual void FlashWindow(WindowHandle window) = 0;

  // Hands a press on a child window to the system's move loop, as if the
  // press were on a title bar; returns when the button is released.
  virtual void DragWindow(WindowHandle window) = 0;
  virtual void ShowDropDown(WindowHandle comboBox) = 0;

  // Keyboard.
  virtual unsigned ScanCode(unsigned virtualKey) = 0;
  virtual void KeyEvent(unsigned char virtualKey, unsigned char scanCode, unsigned flags) = 0;

  virtual Activation ActivateWindowByTitle(const std::string& name) = 0;

  // One pass of the event loop: pending messages are handled, then it returns.
  virtual void YieldOnce() = 0;

  // Plain text on the clipboard.
  virtual bool ClipboardHasText() = 0;
  virtual std::string ClipboardGetText() = 0;
  virtual bool ClipboardSetText(const std::string& text) = 0;
  virtual bool ClipboardClear() = 0;

  // A modal message box; no title means the program's default one.
  virtual int ShowMessageBox(const std::string& text, unsigned flags, const std::optional<std::string>& title) = 0;

  virtual std::vector<std::string> ScreenFonts() = 0;
  virtual std::filesystem::path::string_type ProgramDirectory() = 0;
};

}  // namespace lk::platform
