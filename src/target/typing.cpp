#include "target/typing.h"

#include "target/key_sender.h"
#include "text/cp1252.h"

namespace lk::target {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The leading zero selects the ANSI code page, where the legacy fonts keep
// their glyphs.
std::optional<char16_t> CharacterOf(const std::string& digits) {
  int code = 0;
  bool any = false;
  for (const char c : digits) {
    if (!IsDigit(c)) continue;
    code = (code * 10 + (c - '0')) % 256;
    any = true;
  }
  if (!any) return std::nullopt;
  return text::Cp1252ToUnit(static_cast<unsigned char>(code));
}

}  // namespace

void TypeIT(platform::Platform& platform, const std::string& targetName, const std::string& digits) {
  const auto activation = platform.ActivateWindowByTitle(targetName);
  Yields(platform, 2);
  KeySender keys(platform, activation.window);
  if (activation.code != 0 || !keys.Prepare()) return;

  if (!platform.HasAltNumpadEntry()) {
    const auto character = CharacterOf(digits);
    if (character && platform.ForegroundWindow() == activation.window) platform.TypeUnicode(*character);
    Yields(platform, 3);
    return;
  }
  if (!keys.Press(vk::kAlt)) return;
  Yields(platform, 2);
  for (const char c : digits) {
    if (!IsDigit(c)) continue;
    const auto key = static_cast<unsigned char>(vk::kNumpad0 + (c - '0'));
    if (!keys.Press(key) || !keys.Release(key)) return;
  }
  Yields(platform, 1);
  keys.Release(vk::kAlt);
  Yields(platform, 3);
}

}  // namespace lk::target
