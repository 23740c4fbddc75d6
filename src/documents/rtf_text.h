#pragma once
// Text written into RTF so that every reader shows the same characters,
// whatever its code page.
#include <string>
#include <string_view>

namespace lk::documents::rtf {

// Unicode text (UTF-8): printable ASCII as itself, a tab as \tab,
// everything else as \uN with one '?' for readers that know no Unicode (so
// \uc1 must be in force).
// In a symbol font's run (symbolRun) a letter as it stands reads as a
// symbol code, so ASCII other than the blank is written as \uN too.
void AppendUnicodeText(std::string& out, std::string_view utf8, bool symbolRun = false);

// Whether AppendUnicodeText writes any \uN for this text.
bool NeedsUnicodeEscapes(std::string_view utf8, bool symbolRun = false);

// Legacy text (each character the Windows-1252 reading of a font code, or
// U+F0xx) as its codes: \'hh above 0x7F, so that the font's code page and
// not the reader's decides. A character that stands for no code (one the
// conversion could not map) is written as \uN?.
void AppendLegacyCodes(std::string& out, std::string_view legacyUtf8);

// Whether AppendLegacyCodes writes any \uN for this text.
bool NeedsUnicodeEscapesAsLegacy(std::string_view legacyUtf8);

}  // namespace lk::documents::rtf
