#include "commands/edit_commands.h"

#include <cmath>
#include <limits>

#include "text/number.h"
#include "text/trim.h"

namespace lk::commands {
namespace {

using platform::BoxKind;
using platform::BoxStyle;

Outcome Say(std::string text, BoxStyle style) { return {std::nullopt, Message{std::move(text), style}}; }
Outcome Paste(std::string text) { return {std::move(text), std::nullopt}; }

Outcome FailedToPerform() { return Say("Failed to perform", {}); }
Outcome InvalidSelection() { return Say("Invalid Selection", {BoxKind::kPlain, true}); }

// An insertion is compared whole with one character, so only a
// one-character insertion can ever match.
bool Is(char c, std::string_view insertion) { return insertion.size() == 1 && insertion[0] == c; }

}  // namespace

Outcome LeadingTrailingSwap(std::string_view selection, std::string_view first, std::string_view second) {
  const std::string trimmed = text::TrimBlanks(selection);
  if (first.empty() || second.empty() || trimmed.empty()) return FailedToPerform();
  const bool leads = Is(trimmed.front(), first);
  const bool trails = Is(trimmed.back(), second);
  if (!leads && !trails) return InvalidSelection();
  // When both hold, the trailing rule wins.
  if (trails) return Paste(std::string(first) + trimmed.substr(0, trimmed.size() - 1));
  return Paste(trimmed.substr(1) + std::string(second));
}

Outcome LastCharacterSwap(std::string_view selection, std::string_view first, std::string_view second) {
  const std::string trimmed = text::TrimBlanks(selection);
  if (first.empty() || second.empty() || trimmed.empty()) return FailedToPerform();
  const char last = trimmed.back();
  const std::string head = trimmed.substr(0, trimmed.size() - 1);
  if (Is(last, first)) return Paste(head + std::string(second));
  if (Is(last, second)) return Paste(head + std::string(first));
  return InvalidSelection();
}

Outcome Wrap(std::string_view selection, std::string_view first, std::string_view second) {
  if (first.empty() || second.empty()) return FailedToPerform();
  return Paste(std::string(first) + std::string(selection) + std::string(second));
}

Outcome WordSwap(std::string_view selection) {
  const auto blank = selection.find(' ');
  if (blank == std::string_view::npos) return Say("Select atleast two words to swap.", {BoxKind::kInformation});
  const std::string firstWord = text::TrimBlanks(selection.substr(0, blank + 1));
  const std::string rest = text::TrimBlanks(selection.substr(blank));
  return Paste(rest + " " + firstWord);
}

Outcome Repeat(std::string_view character, std::string_view repeat) {
  if (character.empty()) return FailedToPerform();
  const double count = text::RoundHalfEven(text::LeadingNumber(repeat));
  // A count that a 32-bit number cannot hold, or a text no target could
  // take, is refused rather than built.
  if (count > std::numeric_limits<std::int32_t>::max() || count < std::numeric_limits<std::int32_t>::min())
    return FailedToPerform();
  if (count < 1) return Paste("");
  if (count * static_cast<double>(character.size()) > static_cast<double>(kMaxRepeatLength)) return FailedToPerform();
  std::string result;
  const auto times = static_cast<std::size_t>(count);
  result.reserve(times * character.size());
  for (std::size_t i = 0; i < times; ++i) result += character;
  return Paste(std::move(result));
}

Message ClipboardNotRestored() {
  return {"Your clipboard could not be given back: another program kept it open.", {BoxKind::kStop}};
}

Message CaptureFailure(std::string_view targetName, bool systemModal) {
  return {"Failed to get text from " + std::string(targetName) + "\r\nPleas try again.",
          {BoxKind::kStop, systemModal}};
}

}  // namespace lk::commands
