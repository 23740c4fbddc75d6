#pragma once
// What we type into the target, and the copy and paste we ask of its edit
// control instead of typing the shortcut.
#include <chrono>
#include <cstddef>
#include <optional>
#include <vector>

#include "platform/window_handle.h"

namespace lk::platform {

// The keys we ever press. The window system's key codes stay behind the
// seam, so tests and the target link speak of keys, not numbers.
enum class Key : unsigned char {
  kControl,
  kAlt,
  kShift,
  kC,
  kV,
  kNumpad0,
  kNumpad1,
  kNumpad2,
  kNumpad3,
  kNumpad4,
  kNumpad5,
  kNumpad6,
  kNumpad7,
  kNumpad8,
  kNumpad9,
};

// The keypad key of a digit 0-9.
constexpr Key NumpadKey(int digit) { return static_cast<Key>(static_cast<int>(Key::kNumpad0) + digit); }
constexpr bool IsModifier(Key key) { return key == Key::kControl || key == Key::kAlt || key == Key::kShift; }

// One key press or release of the input stream.
struct KeyStroke {
  Key key = Key::kControl;
  bool up = false;
  bool operator==(const KeyStroke&) const = default;
};

// What a standard edit control is asked to do with the clipboard.
enum class EditRequest { kCopy, kPaste };

// The selection of an edit control, in its own character positions; an
// empty one is the caret.
struct EditSelection {
  unsigned long start = 0;
  unsigned long end = 0;
  bool operator==(const EditSelection&) const = default;
};

class Keyboard {
 public:
  virtual ~Keyboard() = default;

  // The strokes go into the input stream in one piece, so nothing the user
  // or the system does can fall between them. Returns how many went in: all
  // of them, or fewer when the system refused the rest.
  virtual std::size_t SendKeys(const std::vector<KeyStroke>& strokes) = 0;
  // Delivers one UTF-16 unit to the foreground window as typed input.
  virtual void TypeUnicode(char16_t unit) = 0;
  // Shift, Ctrl, Alt or a Windows key held down by the user.
  virtual bool ModifiersDown() = 0;
  // Whether Alt and numeric-keypad digits enter a character here.
  virtual bool HasAltNumpadEntry() = 0;

  // Asks a standard edit control to copy its selection or paste over it, and
  // returns once it has done so; false when it did not answer within the bound.
  virtual bool SendEditRequest(WindowHandle control, EditRequest request, std::chrono::milliseconds bound) = 0;
  // The selection of a standard edit control; none when it does not answer.
  virtual std::optional<EditSelection> SelectionOf(WindowHandle control) = 0;
};

}  // namespace lk::platform
