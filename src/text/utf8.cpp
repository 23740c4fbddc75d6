#include "text/utf8.h"

#include "text/cp1252.h"

namespace lk::text {

std::string_view WithoutCutEnd(std::string_view text) {
  // Only the last sequence can be cut: it starts at the last byte that is not
  // a continuation byte, at most four from the end.
  for (std::size_t back = 1; back <= 4 && back <= text.size(); ++back) {
    const std::size_t lead = text.size() - back;
    if ((static_cast<unsigned char>(text[lead]) & 0xC0) == 0x80) continue;
    return StepUtf8(text, lead).cut ? text.substr(0, lead) : text;
  }
  return text;
}

std::optional<std::size_t> FirstInvalidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const Utf8Step step = StepUtf8(text, pos);
    if (!step.valid) return pos;
    pos += step.length;
  }
  return std::nullopt;
}

std::u32string Utf8ToUtf32(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  const auto take = [&out](char32_t c, bool) {
    out.push_back(c);
    return true;
  };
  Utf8Stream stream(Utf8Faults::kEachByte);
  stream.Feed(text, take);
  stream.Finish(take);
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
    const Utf8Step step = StepUtf8(utf8, i);
    i += step.length;
    char32_t c = step.cp;
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
  const auto take = [&out](char32_t c, bool) {
    AppendUtf16(out, c);
    return true;
  };
  Utf8Stream stream(Utf8Faults::kMaximalSubpart);
  stream.Feed(utf8, take);
  stream.Finish(take);
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
