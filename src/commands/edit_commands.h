#pragma once
// The text work behind the toolbar's command buttons: each turns the captured
// selection (or, for the repeat button, its settings) into the text to paste,
// or into the message that explains why nothing is pasted.
#include <optional>
#include <string>
#include <string_view>

#include "platform/shell.h"

namespace lk::commands {

struct Message {
  std::string text;
  platform::BoxStyle style;  // the box is always titled "Lekhopakar"
};

struct Outcome {
  std::optional<std::string> paste;
  std::optional<Message> message;
};

// Button 1: a leading first insertion becomes a trailing second one, and back.
Outcome LeadingTrailingSwap(std::string_view selection, std::string_view first, std::string_view second);
// Button 2: a last character equal to one insertion becomes the other.
Outcome LastCharacterSwap(std::string_view selection, std::string_view first, std::string_view second);
// Buttons 3 to 5: the selection between the two insertions, untrimmed.
Outcome Wrap(std::string_view selection, std::string_view first, std::string_view second);
// Button 7: the first blank-separated word moves behind the rest.
Outcome WordSwap(std::string_view selection);
// Button 6: the character written as many times as the repeat text says.
Outcome Repeat(std::string_view character, std::string_view repeat);

// The message when nothing could be captured from the target; system-modal
// when it should hold the whole screen's attention, not only our toolbar's.
Message CaptureFailure(std::string_view targetName, bool systemModal);
// The message when the user's clipboard could not be put back after a capture
// or a paste: another program held it open past our bound.
Message ClipboardNotRestored();

inline constexpr std::size_t kMaxRepeatLength = 1000000;

}  // namespace lk::commands
