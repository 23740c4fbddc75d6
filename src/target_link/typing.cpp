#include "target_link/typing.h"

#include <optional>

#include "target_link/link.h"
#include "text/cp1252.h"

namespace lk::target_link {
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

void TypeIT(const platform::Platform& platform, platform::WindowHandle window, const std::string& digits) {
  if (!Reach(platform, window).ok) return;
  if (!platform.keyboard.HasAltNumpadEntry()) {
    const auto character = CharacterOf(digits);
    if (character && platform.windows.Foreground() == window) platform.keyboard.TypeUnicode(*character);
    return;
  }
  // Alt, the digits and Alt's release in one piece: a digit that strayed
  // outside the Alt would be typed as itself.
  using platform::Key;
  std::vector<platform::KeyStroke> strokes{{Key::kAlt, false}};
  for (const char c : digits) {
    if (!IsDigit(c)) continue;
    const Key key = platform::NumpadKey(c - '0');
    strokes.push_back({key, false});
    strokes.push_back({key, true});
  }
  strokes.push_back({Key::kAlt, true});
  SendStrokes(platform, window, strokes);
}

}  // namespace lk::target_link
