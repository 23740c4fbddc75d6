#pragma once
// A scripted stand-in for the window system. It plays target applications
// the way the real ones behave where it matters to us: a standard edit
// control that copies and pastes when asked by message, or a custom control
// that only knows the shortcuts as keys, each answering fast, slowly or
// never. Tests read the outcome: what each target received (pasted texts,
// stray characters typed), where the keys went, whether any key was left
// down, and what the clipboard holds.
#include <chrono>
#include <cstdint>
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
    std::string className = "Notepad";
  };

  // A target application: what it copies and what it was given.
  struct Target {
    std::string selection;                    // UTF-8, as it goes on the clipboard
    WindowHandle edit = 0;                    // its focused standard edit control; 0: a custom control
    std::chrono::milliseconds copyDelay{0};   // after Ctrl+C; negative: never copies
    std::chrono::milliseconds readDelay{0};   // after Ctrl+V or a deferred WM_PASTE
    bool deferPasteRequest = false;           // answers WM_PASTE at once, reads later
    bool hung = false;                        // answers no message
    std::vector<std::string> pasted;          // what each paste read
    std::string typed;                        // characters typed into it: letters and Unicode input
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
  // The system lets go of modifiers that were pressed in an earlier piece of
  // input, as Wine does when an activated window syncs its keyboard state.
  bool releaseModifiersBetweenInputs = false;
  std::size_t acceptKeys = SIZE_MAX;  // strokes the system takes in before refusing the rest
  bool clipboardLocked = false;       // another program holds it open
  std::map<std::string, std::string> runningOffice;  // prog ID -> its selection's font name

  // The clipboard: plain text and other formats side by side.
  bool clipboardHasText = false;
  std::string clipboardText;  // UTF-8
  std::vector<ClipboardItem> clipboardOther;
  bool clipboardMarked = false;  // our temporary text, kept out of history and cloud
  bool offerTaken = false;

  // What happened.
  std::vector<char16_t> typedUnicode;
  std::chrono::milliseconds now{0};

  // Key strokes delivered while the window was in front.
  int KeysTo(WindowHandle window) const;
  int KeysAnywhere() const { return static_cast<int>(keyLog_.size()); }
  std::vector<KeyStroke> StrokesTo(WindowHandle window) const;
  // Keys the system takes as down now.
  const std::set<unsigned char>& KeysDown() const { return keysDown_; }

  bool GetWindowRect(WindowHandle window, Rect& rect) override;
  bool SetWindowPosTopmost(WindowHandle window, int x, int y, int width, int height) override;
  std::vector<WindowHandle> EnumTopLevelWindows() override;
  bool IsWindow(WindowHandle window) override;
  bool IsWindowVisible(WindowHandle window) override;
  bool IsWindowEnabled(WindowHandle window) override;
  std::string GetWindowTitle(WindowHandle window) override;
  std::string GetWindowClassName(WindowHandle window) override;
  void FlashWindow(WindowHandle window) override;
  void DragWindow(WindowHandle window) override;
  void ShowDropDown(WindowHandle comboBox) override;
  Activation ActivateWindow(WindowHandle window) override;
  std::size_t SendKeys(const std::vector<KeyStroke>& strokes) override;
  void TypeUnicode(char16_t unit) override;
  WindowHandle FocusedEditControl(WindowHandle window) override;
  bool SendEditRequest(WindowHandle control, EditRequest request, std::chrono::milliseconds bound) override;
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
  bool CatchUpWith(WindowHandle window, std::chrono::milliseconds bound) override;
  bool HasAltNumpadEntry() override;
  int ShowMessageBox(const std::string& text, unsigned flags, const std::optional<std::string>& title) override;
  int SetSelectionFontByAutomation(const std::string& progId, const std::string& fontName) override;
  std::vector<std::string> ScreenFonts() override;
  std::filesystem::path::string_type ProgramDirectory() override;

  // The calls that show something to the user or to another program, one
  // line each: message boxes, activations, window placement, automation.
  std::vector<std::string> calls;
  int Count(const std::string& prefix) const;

 private:
  struct Pending {
    WindowHandle window;
    bool copy;  // else: read for a paste
    std::chrono::milliseconds at;
  };
  void Pump();
  void Copy(Target& target);
  void Read(Target& target);
  Target* TargetOfEdit(WindowHandle control);
  std::set<unsigned char> keysDown_;
  std::vector<Pending> pending_;
  std::vector<std::pair<WindowHandle, KeyStroke>> keyLog_;
};

}  // namespace lk::platform
