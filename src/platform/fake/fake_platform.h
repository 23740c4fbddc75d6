#pragma once
// A scripted stand-in for the window system. It records every call in order,
// one line per call, so a test can assert an exact sequence, and it plays
// target applications that answer Ctrl+C and Ctrl+V fast, slowly or never.
#include <chrono>
#include <deque>
#include <map>
#include <set>
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

  // A target application: what it copies and what it was given.
  struct Target {
    WindowHandle window = 0;
    std::string selection;
    int copyAfterPumps = 0;                    // -1: never copies
    std::chrono::milliseconds readDelay{0};    // after Ctrl+V
    std::vector<std::string> pasted;           // what each Ctrl+V read
  };

  // Test setup.
  std::map<WindowHandle, Window> windows;
  std::vector<WindowHandle> zOrder;  // enumeration order; the map's order when empty
  std::vector<std::string> fonts;
  std::filesystem::path::string_type programDirectory;
  std::deque<int> messageBoxAnswers;  // answered in turn; OK (1) when empty
  std::map<WindowHandle, Target> targets;
  WindowHandle foreground = 0;
  WindowHandle stealForegroundTo = 0;  // takes the foreground right after an activation
  std::chrono::milliseconds modifiersHeldFor{0};
  bool altNumpadEntry = true;
  bool dropControlOnce = false;  // the system lets go of our Ctrl once, as Wine may on activation
  std::map<std::string, std::string> runningOffice;  // prog ID -> its selection's font name

  // The clipboard: plain text and other formats side by side.
  bool clipboardHasText = false;
  std::string clipboardText;
  std::vector<ClipboardItem> clipboardOther;
  bool clipboardMarked = false;  // our temporary text, kept out of history
  bool offerTaken = false;

  // What happened.
  std::vector<std::string> calls;
  std::vector<char16_t> typedUnicode;
  std::chrono::milliseconds now{0};
  long pumps = 0;

  // Counting helpers for assertions.
  int Count(const std::string& prefix) const;
  int KeyEventsTo(WindowHandle window) const;

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
  bool ClipboardClear() override;
  ClipboardSnapshot ClipboardSave() override;
  bool ClipboardRestore(const ClipboardSnapshot& snapshot) override;
  bool ClipboardOffer(const std::string& text) override;
  bool ClipboardOfferTaken() override;
  bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) override;
  WindowHandle ForegroundWindow() override;
  bool ModifiersDown() override;
  bool IsKeyDown(unsigned char virtualKey) override;
  void CatchUpWith(WindowHandle window) override;
  bool HasAltNumpadEntry() override;
  void TypeUnicode(char16_t unit) override;
  int ShowMessageBox(const std::string& text, unsigned flags, const std::optional<std::string>& title) override;
  int SetSelectionFontByAutomation(const std::string& progId, const std::string& fontName) override;
  std::vector<std::string> ScreenFonts() override;
  std::filesystem::path::string_type ProgramDirectory() override;

 private:
  struct Pending {
    WindowHandle window;
    bool copy;  // else: read for a paste
    long atPump;
    std::chrono::milliseconds at;
  };
  void Pump();
  bool controlDown_ = false;
  std::set<unsigned char> keysDown_;
  std::vector<Pending> pending_;
  std::vector<std::pair<WindowHandle, std::string>> keyLog_;
};

}  // namespace lk::platform
