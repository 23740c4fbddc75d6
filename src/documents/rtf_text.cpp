#include "documents/rtf_text.h"

#include <charconv>
#include <cstdint>

#include "text/cp1252.h"
#include "text/utf8.h"

namespace lk::documents::rtf {
namespace {

// Calls each(c) for every character; bytes that are not UTF-8 come as U+FFFD.
template <typename Each>
void ForEachCharacter(std::string_view utf8, Each each) {
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t c;
    std::size_t length = text::DecodeUtf8(utf8, pos, c);
    if (length == 0) {
      c = text::kReplacement;
      length = 1;
    }
    each(c);
    pos += length;
  }
}

// Other control characters come as \uN too: a line break read back as
// \line would be the plain text's CRLF, not the character that was there.
bool IsPlain(char32_t c, bool symbolRun) {
  return symbolRun ? c == ' ' || c == '\t' : (c >= 0x20 && c < 0x7F) || c == '\t';
}

void AppendUnit(std::string& out, char16_t unit) {
  char escape[10] = {'\\', 'u'};
  char* end = std::to_chars(escape + 2, escape + sizeof escape - 1, static_cast<std::int16_t>(unit)).ptr;
  *end++ = '?';
  out.append(escape, end);
}

void AppendEscaped(std::string& out, char32_t c, bool symbolRun = false) {
  if (symbolRun && c > 0x20 && c < 0x7F) {
    AppendUnit(out, static_cast<char16_t>(c));
    return;
  }
  switch (c) {
    case '\\': case '{': case '}':
      out += '\\';
      out += static_cast<char>(c);
      return;
    case '\t': out += "\\tab "; return;
    default: break;
  }
  if (c >= 0x20 && c < 0x7F) {
    out += static_cast<char>(c);
  } else if (c >= 0x10000) {
    const char32_t v = c - 0x10000;
    AppendUnit(out, static_cast<char16_t>(0xD800 + (v >> 10)));
    AppendUnit(out, static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
  } else {
    AppendUnit(out, static_cast<char16_t>(c));
  }
}

}  // namespace

void AppendUnicodeText(std::string& out, std::string_view utf8, bool symbolRun) {
  ForEachCharacter(utf8, [&](char32_t c) { AppendEscaped(out, c, symbolRun); });
}

bool NeedsUnicodeEscapes(std::string_view utf8, bool symbolRun) {
  bool needs = false;
  ForEachCharacter(utf8, [&](char32_t c) { needs = needs || !IsPlain(c, symbolRun); });
  return needs;
}

void AppendLegacyCodes(std::string& out, std::string_view legacyUtf8) {
  static constexpr char kHex[] = "0123456789abcdef";
  ForEachCharacter(legacyUtf8, [&](char32_t c) {
    const int code = text::Cp1252CodeOf(c);
    if (code < 0x80) {  // ASCII, or no code at all
      AppendEscaped(out, c);
      return;
    }
    out += "\\'";
    out += kHex[code >> 4];
    out += kHex[code & 0xF];
  });
}

bool NeedsUnicodeEscapesAsLegacy(std::string_view legacyUtf8) {
  bool needs = false;
  ForEachCharacter(legacyUtf8, [&](char32_t c) { needs = needs || (!IsPlain(c, false) && text::Cp1252CodeOf(c) < 0x80); });
  return needs;
}

}  // namespace lk::documents::rtf
