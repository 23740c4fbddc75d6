#pragma once
// Unicode text inside the program is UTF-8; the window system speaks UTF-16.
// Legacy-font text (Windows-1252 bytes) meets Unicode only through the table
// in cp1252.h, never through a system code page.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lk::text {

inline constexpr char32_t kReplacement = 0xFFFD;

// Writes cp's UTF-8 form (at most 4 bytes) at out and returns its length;
// surrogates and values past U+10FFFF are written as U+FFFD.
inline std::size_t EncodeUtf8(char32_t cp, char* out) {
  if (cp < 0x80) {
    out[0] = static_cast<char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = static_cast<char>(0xC0 | (cp >> 6));
    out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    return 2;
  }
  if ((cp >= 0xD800 && cp < 0xE000) || cp >= 0x110000) cp = kReplacement;
  if (cp < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (cp >> 12));
    out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (cp & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (cp >> 18));
  out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (cp & 0x3F));
  return 4;
}

inline void AppendUtf8(std::string& out, char32_t cp) {
  char bytes[4];
  out.append(bytes, EncodeUtf8(cp, bytes));
}

// Decodes one character at text[pos]: sets cp and returns its length, or
// returns 0 when the bytes there are not UTF-8 (overlong forms, surrogates
// and values past U+10FFFF included), or when the text ends inside it.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& cp);

// The text without a character cut short at its end, as a byte-counted
// buffer leaves it; anything else stays as it is.
std::string_view WithoutCutEnd(std::string_view text);

// Offset of the first byte that is not part of valid UTF-8; none when all is.
std::optional<std::size_t> FirstInvalidUtf8(std::string_view text);

std::u32string Utf8ToUtf32(std::string_view text);  // invalid bytes become U+FFFD

// Ill-formed input (a stray continuation byte, a cut sequence, an unpaired
// surrogate) becomes U+FFFD rather than being dropped, so lengths and
// neighbours stay visible.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// The same written straight into memory the caller sized by Utf16Length
// (the clipboard's, say), with no string between: a large text is not
// copied once more on its way.
std::size_t Utf16Length(std::string_view utf8);
void WriteUtf16(std::string_view utf8, char16_t* out);
// Utf8ToCp1252 into memory of Utf16Length bytes.
void WriteCp1252(std::string_view utf8, char* out);

// Legacy-font text as Unicode and back, through the Windows-1252 table.
std::string Cp1252ToUtf8(std::string_view legacy);
std::string Utf8ToCp1252(std::string_view utf8);

}  // namespace lk::text
