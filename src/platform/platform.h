#pragma once
// The one interface through which the program reaches the window system.
// Win32 implements it for the real program; the scripted fake implements it
// for the unit tests. Every text here is Unicode as UTF-8: window titles,
// font names, message texts and the clipboard's text. Legacy-font text
// (Windows-1252 bytes) is converted before it gets here (text/utf8.h), so the
// system's code page never touches a glyph.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
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

inline constexpr int kAutomationDone = 0;
inline constexpr int kAutomationUnreachable = 429;

// Result of activating a window: code 0 on success, 5 when the window no
// longer exists, anything else with a description.
struct Activation {
  int code = 0;
  std::string description;
};

inline constexpr int kNoSuchWindow = 5;

// One key press or release of the input stream.
struct KeyStroke {
  unsigned char virtualKey = 0;
  bool up = false;
  bool operator==(const KeyStroke&) const = default;
};

// What a standard edit control is asked to do with the clipboard.
enum class EditRequest { kCopy, kPaste };

// One clipboard format as it was saved: registered formats go by name, since
// their numbers differ between sessions.
struct ClipboardItem {
  unsigned format = 0;
  std::string name;
  std::vector<unsigned char> bytes;
};

// The user's whole clipboard, as far as it can be copied safely.
struct ClipboardSnapshot {
  std::vector<ClipboardItem> items;
  bool hasText = false;
  std::string text;  // the plain text among them, when hasText
  bool empty() const { return items.empty() && !hasText; }
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
  // The name of the window's class ("OpusApp" for Word's main window).
  virtual std::string GetWindowClassName(WindowHandle window) = 0;
  virtual void FlashWindow(WindowHandle window) = 0;

  // Hands a press on a child window to the system's move loop, as if the
  // press were on a title bar; returns when the button is released.
  virtual void DragWindow(WindowHandle window) = 0;
  virtual void ShowDropDown(WindowHandle comboBox) = 0;

  // Gives the window the focus and brings it to the foreground, without
  // waiting for it and without changing whether it is minimised.
  virtual Activation ActivateWindow(WindowHandle window) = 0;

  // Keyboard. The strokes go into the input stream in one piece, so nothing
  // the user or the system does can fall between them. Returns how many went
  // in: all of them, or fewer when the system refused the rest.
  virtual std::size_t SendKeys(const std::vector<KeyStroke>& strokes) = 0;
  // Delivers one UTF-16 unit to the foreground window as typed input.
  virtual void TypeUnicode(char16_t unit) = 0;

  // The control that has the keyboard focus in the window's thread, when it
  // is a standard edit control (plain or rich) of that window; 0 when the
  // focus is anywhere else, a custom control say.
  virtual WindowHandle FocusedEditControl(WindowHandle window) = 0;
  // Asks a standard edit control to copy its selection or paste over it, and
  // returns once it has done so; false when it did not answer within the bound.
  virtual bool SendEditRequest(WindowHandle control, EditRequest request, std::chrono::milliseconds bound) = 0;

  // Plain text on the clipboard.
  virtual bool ClipboardHasText() = 0;
  virtual std::string ClipboardGetText() = 0;
  virtual bool ClipboardClear() = 0;

  // The whole clipboard: saved before a command and put back after it.
  virtual ClipboardSnapshot ClipboardSave() = 0;
  // Empties the clipboard and puts the snapshot back, in one opening; an
  // empty snapshot leaves it empty.
  virtual bool ClipboardRestore(const ClipboardSnapshot& snapshot) = 0;
  // Empties the clipboard and puts our own temporary text there, in one
  // opening: kept out of clipboard history, monitors and cloud upload, and
  // rendered on request, so that the request tells us another program has
  // read it. False when the text could not be put there.
  virtual bool ClipboardOffer(const std::string& text) = 0;
  virtual bool ClipboardOfferTaken() = 0;

  // Handles messages until the condition holds or the bound passes; true
  // when it holds. Fast paths pay nothing: the condition is tested first.
  virtual bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) = 0;
  // The top-level window that has the foreground now.
  virtual WindowHandle ForegroundWindow() = 0;
  // Shift, Ctrl, Alt or a Windows key held down by the user.
  virtual bool ModifiersDown() = 0;
  // Returns once the window's thread has handled what was sent to it so far
  // (its activation, say); false when it did not answer within the bound.
  virtual bool CatchUpWith(WindowHandle window, std::chrono::milliseconds bound) = 0;
  // Whether Alt and numeric-keypad digits enter a character here.
  virtual bool HasAltNumpadEntry() = 0;

  // A modal message box; no title means the program's default one.
  virtual int ShowMessageBox(const std::string& text, unsigned flags, const std::optional<std::string>& title) = 0;

  // Sets the font name of the selection in the running instance of an
  // automation class ("Word.Application"): kAutomationUnreachable (the
  // automation error 429) when no instance can be reached or the class is not
  // registered, kAutomationDone otherwise, whatever became of the font.
  virtual int SetSelectionFontByAutomation(const std::string& progId, const std::string& fontName) = 0;

  virtual std::vector<std::string> ScreenFonts() = 0;
  virtual std::filesystem::path::string_type ProgramDirectory() = 0;
};

}  // namespace lk::platform
