#include "text/utf8.h"

#include "text/cp1252.h"

namespace lk::text {

std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& cp) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = at(pos);
  if (lead < 0x80) {
    cp = lead;
    return 1;
  }
  std::size_t length;
  char32_t value;
  char32_t minimum;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (text.size() - pos < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = at(pos + i);
    if ((next & 0xC0) != 0x80) return 0;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000)) return 0;
  cp = value;
  return length;
}

std::string_view WithoutCutEnd(std::string_view text) {
  // The last lead byte and the continuation bytes after it, at most three.
  std::size_t lead = text.size();
  for (std::size_t back = 1; back <= 4 && back <= text.size(); ++back) {
    const auto byte = static_cast<unsigned char>(text[text.size() - back]);
    if ((byte & 0xC0) != 0x80) {
      lead = text.size() - back;
      break;
    }
  }
  if (lead == text.size()) return text;
  const auto first = static_cast<unsigned char>(text[lead]);
  const std::size_t wanted = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
  return text.size() - lead < wanted ? text.substr(0, lead) : text;
}

std::optional<std::size_t> FirstInvalidUtf8(std::string_view text) {
  std::size_t pos = 0;
  char32_t cp;
  while (pos < text.size()) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
      continue;
    }
    const std::size_t length = DecodeUtf8(text, pos, cp);
    if (length == 0) return pos;
    pos += length;
  }
  return std::nullopt;
}

std::u32string Utf8ToUtf32(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  char32_t cp;
  while (pos < text.size()) {
    const std::size_t length = DecodeUtf8(text, pos, cp);
    if (length == 0) {
      out.push_back(kReplacement);
      ++pos;
    } else {
      out.push_back(cp);
      pos += length;
    }
  }
  return out;
}

namespace {

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
    return;
  }
  c -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

// The code point starting at bytes[i]; advances i past it, or past the
// longest start of a sequence that breaks off, which becomes one U+FFFD.
char32_t DecodeMaximal(std::string_view bytes, std::size_t& i) {
  char32_t cp = 0;
  if (const std::size_t length = DecodeUtf8(bytes, i, cp)) {
    i += length;
    return cp;
  }
  const auto lead = static_cast<unsigned char>(bytes[i++]);
  const int extra = lead >= 0xC2 && lead <= 0xDF ? 1 : lead >= 0xE0 && lead <= 0xEF ? 2 : lead >= 0xF0 && lead <= 0xF4 ? 3 : 0;
  for (int k = 0; k < extra && i < bytes.size() && (static_cast<unsigned char>(bytes[i]) & 0xC0) == 0x80; ++k) ++i;
  return kReplacement;
}

}  // namespace

namespace {

// Calls each(unit) for the UTF-16 units of a text, in order.
template <typename Each>
void ForEachUtf16Unit(std::string_view utf8, Each each) {
  for (std::size_t i = 0; i < utf8.size();) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {
      each(static_cast<char16_t>(utf8[i++]));
      continue;
    }
    char32_t c = DecodeMaximal(utf8, i);
    if (c < 0x10000) {
      each(static_cast<char16_t>(c));
      continue;
    }
    c -= 0x10000;
    each(static_cast<char16_t>(0xD800 + (c >> 10)));
    each(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) AppendUtf16(out, DecodeMaximal(utf8, i));
  return out;
}

std::size_t Utf16Length(std::string_view utf8) {
  std::size_t length = 0;
  ForEachUtf16Unit(utf8, [&](char16_t) { ++length; });
  return length;
}

void WriteUtf16(std::string_view utf8, char16_t* out) {
  ForEachUtf16Unit(utf8, [&](char16_t unit) { *out++ = unit; });
}

void WriteCp1252(std::string_view utf8, char* out) {
  ForEachUtf16Unit(utf8, [&](char16_t unit) {
    const int code = Cp1252CodeOf(unit);
    *out++ = code < 0 ? '?' : static_cast<char>(code);
  });
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view legacy) { return Utf16ToUtf8(Cp1252ToUtf16(legacy)); }

std::string Utf8ToCp1252(std::string_view utf8) { return Utf16ToCp1252(Utf8ToUtf16(utf8)); }

}  // namespace lk::text
