#pragma once
// A scripted stand-in for the window system. It records every call in order,
// one line per call, so a test can assert an exact sequence, and it answers
// from state the test sets up beforehand.
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace lk::platform {

class FakePlatform : public Platform {
 public:
  struct Window {
    std::string title;
    bool visible = true;
    bool enabled = true;
    Rect rect{};
  };

  // Test setup.
  std::map<WindowHandle, Window> windows;  // in enumeration (front-to-back) order of handles
  std::vector<WindowHandle> zOrder;         // enumeration order; defaults to the map's order
  std::vector<std::string> fonts;
  std::filesystem::path::string_type programDirectory;
  std::deque<int> messageBoxAnswers;  // answered in turn; OK (1) when empty
  bool clipboardHasText = false;
  std::string clipboardText;

  // What happened.
  std::vector<std::string> calls;

  bool GetWindowRect(WindowHandle window, Rect& rect) override;
  bool SetWindowPosTopmost(WindowHandle window, int x, int y, int width, int height) override;
  std::vector<WindowHandle> EnumTopLevelWindows() override;
  bool IsWindow(WindowHandle window) override;
  bool IsWindowVisible(WindowHandle window) override;
  bool IsWindowEnabled(WindowHandle window) override;
  std::string GetWindowTitle(WindowHandle window) override;
  void FlashWindow(WindowHandle window) override;
  void DragWindow(WindowHandle window) override;
  void ShowDropDown(WindowHandle comboBox) override;
  unsigned ScanCode(unsigned virtualKey) override;
  void KeyEvent(unsigned char virtualKey, unsigned char scanCode, unsigned flags) override;
  Activation ActivateWindowByTitle(const std::string& name) override;
  void YieldOnce() override;
  bool ClipboardHasText() override;
  std::string ClipboardGetText() override;
  bool ClipboardSetText(const std::string& text) override;
  bool ClipboardClear() override;
  int ShowMessageBox(const std::string& text, unsigned flags, const std::optional<std::string>& title) override;
  std::vector<std::string> ScreenFonts() override;
  std::filesystem::path::string_type ProgramDirectory() override;
};

}  // namespace lk::platform
