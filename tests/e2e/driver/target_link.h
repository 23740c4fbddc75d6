#pragma once
// The far side of the target link: a target application (Wine's notepad or a
// stand-in) placed clear of the toolbar, the clipboard as the user's, and one
// click of an edit command followed through to its end.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolbar_process.h"

namespace lk::e2e {

inline constexpr wchar_t kNotepadTitle[] = L"Untitled - Notepad";

// LK.ini as the program's factory settings write it: button 3 wraps the
// selection in "-" and "_".
extern const char kFactoryCustomize[];

// Windows-1252 code → UTF-16, the undefined codes as the C1 controls.
wchar_t LegacyChar(unsigned char code);

// What the user keeps on the clipboard: a text, a picture (CF_DIB bytes),
// rich text ("Rich Text Format", without its closing NUL), any of them or none.
struct UserClipboard {
  std::optional<std::wstring> text;
  std::optional<std::vector<BYTE>> dib;
  std::optional<std::string> rtf;
};

// The DWORD held in the clipboard format registered as `name`, when the
// clipboard holds that format.
std::optional<DWORD> ClipboardDword(const wchar_t* name);

// Same text, same rich text, same picture pixels (or both without each).
bool SameClipboard(const UserClipboard& a, const UserClipboard& b);
std::string Describe(const UserClipboard& clipboard);

// A small 32-bit DIB whose pixels depend on `seed`.
std::vector<BYTE> MakeDib(int width, int height, unsigned seed);

// The driver's clipboard, owned by a hidden window whose own thread answers
// the clipboard's messages (rendering on request, losing ownership) at once,
// whatever the driver's main thread is waiting on.
class Clipboard {
 public:
  static Clipboard& Instance();

  void Put(const UserClipboard& contents);
  UserClipboard Read();
  void Clear();
  // Delayed rendering: CF_UNICODETEXT is rendered when a program asks for it.
  void Offer(const std::wstring& text);
  bool OfferTaken() const;

  struct State;

 private:
  Clipboard();
  State* state_;
};

// A stand-in of tests/standins, beside the exe under test; fails the case
// when it was not built.
std::wstring StandInPath(const std::wstring& exe, const wchar_t* file);

// A running target application with one text control (an Edit, a RichEdit,
// or a stand-in's own that answers the same messages), placed at `area`.
class TargetApp {
 public:
  TargetApp(const std::wstring& exePath, const std::wstring& folder, const std::wstring& title,
            const RECT& area, const std::wstring& controlClass = L"Edit",
            const std::wstring& arguments = L"");
  static TargetApp Notepad(const std::wstring& folder);
  // Notepad with a file of the folder open: titled "<file> - Notepad".
  static TargetApp NotepadWithFile(const std::wstring& folder, const std::wstring& file,
                                   const RECT& area);
  static TargetApp Wordpad(const std::wstring& folder);
  // The stand-ins of tests/standins beside `exe`: one that knows copy and
  // paste only as keys, one that reads the clipboard late.
  static TargetApp KeysOnly(const std::wstring& exe, const std::wstring& folder);
  static TargetApp SlowPaste(const std::wstring& exe, const std::wstring& folder);

  HWND Window() const { return window_; }
  HWND Edit() const { return edit_; }
  DWORD Pid() const { return program_->Pid(); }
  // The window's title, as a person types it into the target field.
  const std::wstring& Title() const { return title_; }
  std::wstring Text() const;
  void SetText(const std::wstring& text);
  void Select(int start, int end);
  // A click into the edit control, as a person gives the window the focus;
  // waits until the window is the foreground one and its text has the focus.
  void ClickInto();
  // The click, then the characters [start, end) selected (-1: to the end).
  void ClickAndSelect(int start, int end);
  // Waits until the text is `expected`; fails naming what it holds.
  void ExpectText(const std::wstring& expected, const std::string& after) const;

 private:
  std::unique_ptr<RunningProgram> program_;
  std::wstring title_;
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
};

struct RoundTrip {
  bool changed = false;   // the target's text changed
  std::wstring text;      // the target's text at the end
  bool restored = false;  // the clipboard held `after` once the text had changed
  UserClipboard clipboard;
  double ms = 0;          // click to restored clipboard
};

// The target holds `before` with [start, end) selected and the focus (given
// by a click), the clipboard holds `user`: the state a command starts from.
void PrepareTarget(TargetApp& target, const std::wstring& before, int start, int end,
                   const UserClipboard& user);

// Waits, bounded, first until the target's text differs from `before`, then
// until the clipboard is `after`. Only after the change is the clipboard
// read: reading it earlier would take the program's delayed text itself and
// let it restore too soon.
RoundTrip AwaitRoundTrip(const TargetApp& target, const std::wstring& before, const UserClipboard& after,
                         DWORD pollMs = 5);
// Clicks toolbar button `id` and awaits the round trip it starts.
RoundTrip ClickAndAwait(const Toolbar& toolbar, int id, const TargetApp& target,
                        const std::wstring& before, const UserClipboard& after, DWORD pollMs = 5,
                        bool sameSpot = false);
// The whole outcome of a command: the target changed from `before` to
// `expected`, the clipboard holds `clipboardAfter`, no message box is open
// and the toolbar takes the next click.
void ExpectRoundTrip(const Toolbar& toolbar, const TargetApp& target, const RoundTrip& trip,
                     const std::wstring& before, const std::wstring& expected,
                     const UserClipboard& clipboardAfter, const std::string& what);
void ExpectClipboard(const UserClipboard& expected, const std::string& after);

}  // namespace lk::e2e
