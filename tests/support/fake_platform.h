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
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace lk::platform {

// One object plays all four interfaces, since in the real system they share
// one state: a key sent to the window in front fills the clipboard.
class FakePlatform : public Clipboard, public Keyboard, public Windows, public Shell {
 public:
  struct Window {
    std::string title;
    bool visible = true;
    bool enabled = true;
    std::string className = "Notepad";
  };

  // A target application: what it copies and what it was given.
  struct Target {
    std::string selection;                    // UTF-8, as it goes on the clipboard
    // Formats it copies beside the text ("Rich Text Format", "HTML Format").
    std::vector<ClipboardItem> selectionFormats;
    WindowHandle edit = 0;                    // its focused standard edit control; 0: a custom control
    std::chrono::milliseconds copyDelay{0};   // after Ctrl+C; negative: never copies
    std::chrono::milliseconds readDelay{0};   // after Ctrl+V or a deferred WM_PASTE
    bool deferPasteRequest = false;           // answers WM_PASTE at once, reads later
    bool hung = false;                        // answers no message
    bool holdsClipboard = false;              // keeps it open once it has copied or read
    std::vector<std::string> pasted;          // what each paste read
    std::vector<std::string> pastedRtf;       // the rich text beside each, empty when none
    std::string typed;                        // characters typed into it: letters and Unicode input
  };

  // Test setup.
  std::map<WindowHandle, Window> windows;
  std::vector<WindowHandle> zOrder;  // enumeration order; the map's order when empty
  std::vector<std::string> fonts;
  std::filesystem::path::string_type programDirectory;
  std::deque<BoxAnswer> messageBoxAnswers;  // answered in turn; OK when empty
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
  std::map<OfficeApplication, std::string> runningOffice;  // its selection's font name

  // The clipboard: plain text and other formats side by side.
  bool clipboardHasText = false;
  std::string clipboardText;  // UTF-8
  std::vector<ClipboardItem> clipboardOther;
  bool clipboardMarked = false;  // our temporary text, kept out of history and cloud
  bool offerTaken = false;
  std::optional<Rendering> offerRendering;  // how the last text was offered

  // What happened.
  int clipboardSaves = 0;
  int clipboardRestores = 0;
  std::vector<std::string> clipboardAtBoxes;  // the clipboard's text as each message box came up
  std::vector<char16_t> typedUnicode;
  std::chrono::milliseconds now{0};

  // Inputs (key strokes and Unicode characters) delivered while the window
  // was in front.
  int KeysTo(WindowHandle window) const;
  int KeysAnywhere() const { return static_cast<int>(keyLog_.size() + unicodeLog_.size()); }
  std::vector<KeyStroke> StrokesTo(WindowHandle window) const;
  // Keys the system takes as down now.
  const std::set<Key>& KeysDown() const { return keysDown_; }

  // What the core is given: every interface played by this one object.
  operator Platform() { return {*this, *this, *this, *this}; }

  // Clipboard.
  bool HasText() override;
  std::string GetText() override;
  std::optional<std::string> GetRichText(std::size_t maxBytes) override;
  bool Clear() override;
  std::optional<ClipboardSnapshot> Save() override;
  bool Restore(const ClipboardSnapshot& snapshot) override;
  bool Offer(std::string text, std::string rtf, Rendering rendering) override;
  // The clipboard's rich text, when it holds one.
  std::optional<std::string> ClipboardRtf() const;
  bool OfferTaken() override;

  // Keyboard.
  std::size_t SendKeys(const std::vector<KeyStroke>& strokes) override;
  void TypeUnicode(char16_t unit) override;
  bool ModifiersDown() override;
  bool HasAltNumpadEntry() override;
  bool SendEditRequest(WindowHandle control, EditRequest request, std::chrono::milliseconds bound) override;
  std::optional<EditSelection> SelectionOf(WindowHandle control) override;

  // Windows.
  std::vector<WindowHandle> EnumTopLevel() override;
  bool Exists(WindowHandle window) override;
  bool IsVisible(WindowHandle window) override;
  bool IsEnabled(WindowHandle window) override;
  std::string Title(WindowHandle window) override;
  std::string ClassName(WindowHandle window) override;
  void Flash(WindowHandle window) override;
  Activation Activate(WindowHandle window) override;
  WindowHandle Foreground() override;
  bool CatchUpWith(WindowHandle window, std::chrono::milliseconds bound) override;
  WindowHandle FocusedEditControl(WindowHandle window) override;
  bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) override;

  // Shell.
  BoxAnswer ShowMessage(const std::string& text, BoxStyle style, const std::optional<std::string>& title) override;
  AutomationResult SetSelectionFont(OfficeApplication application, const std::string& fontName) override;
  std::vector<std::string> ScreenFonts() override;
  std::optional<std::string> ScreenFontNamed(const std::string& name) override;
  std::filesystem::path::string_type ProgramDirectory() override;
  bool OpenFolder(const std::filesystem::path& folder) override;

  // The calls that show something to the user or to another program, one
  // line each: message boxes, activations, flashes, automation.
  std::vector<std::string> calls;
  int Count(const std::string& prefix) const;
  // The line a message box leaves in calls.
  static std::string BoxLine(const std::string& text, BoxStyle style, const std::optional<std::string>& title);

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
  std::set<Key> keysDown_;
  std::vector<Pending> pending_;
  std::vector<std::pair<WindowHandle, KeyStroke>> keyLog_;
  std::vector<WindowHandle> unicodeLog_;  // the window in front at each Unicode character
};

}  // namespace lk::platform
