#pragma once
// Legacy-font text is Windows-1252 bytes, code by code. These are the only
// conversions to and from UTF-16; they never consult the system code page,
// so a Preeti byte stays the same byte whatever locale Windows runs in.
#include <string>
#include <string_view>

namespace lk::text {

char16_t Cp1252ToUnit(unsigned char code);

// The code of one unit, as Utf16ToCp1252 maps it; -1 when it has none.
int Cp1252CodeOf(char32_t unit);

// Every byte maps to exactly one UTF-16 unit, so the result has the input's length.
std::u16string Cp1252ToUtf16(std::string_view bytes);

// Units without a Windows-1252 code become '?', as the system's best-fit would;
// U+F020..U+F0FF (a symbol font's codes) become their low byte.
std::string Utf16ToCp1252(std::u16string_view units);

}  // namespace lk::text
