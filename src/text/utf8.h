#pragma once
// UTF-8, the form of every Unicode string inside the program.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lk::text {

inline constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp);

// Decodes one character at text[pos]: sets cp and returns its length, or
// returns 0 when the bytes there are not UTF-8 (overlong forms, surrogates
// and values past U+10FFFF included), or when the text ends inside it.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& cp);

// Offset of the first byte that is not part of valid UTF-8; none when all is.
std::optional<std::size_t> FirstInvalidUtf8(std::string_view text);

std::u32string Utf8ToUtf32(std::string_view text);  // invalid bytes become U+FFFD
std::string Utf32ToUtf8(std::u32string_view text);

}  // namespace lk::text
