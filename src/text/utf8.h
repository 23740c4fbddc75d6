#pragma once
// Unicode text inside the program is UTF-8; the window system speaks UTF-16.
// Legacy-font text (Windows-1252 bytes) meets Unicode only through the table
// in cp1252.h, never through a system code page.
#include <string>
#include <string_view>

namespace lk::text {

// Ill-formed input (a stray continuation byte, a cut sequence, an unpaired
// surrogate) becomes U+FFFD rather than being dropped, so lengths and
// neighbours stay visible.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Legacy-font text as Unicode and back, through the Windows-1252 table.
std::string Cp1252ToUtf8(std::string_view legacy);
std::string Utf8ToCp1252(std::string_view utf8);

}  // namespace lk::text
