#pragma once
// Unicode text inside the program is UTF-8; the window system speaks UTF-16.
// Legacy-font text (Windows-1252 bytes) meets Unicode only through the table
// in cp1252.h, never through a system code page.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

// What the bytes at one place hold: a character, or the longest start of one
// that goes wrong there (Unicode's maximal subpart: a lead byte and the
// continuation bytes that could still have followed it).
struct Utf8Step {
  char32_t cp = kReplacement;  // the character; kReplacement when not valid
  std::uint8_t length = 1;     // bytes of the character, or of the maximal subpart
  bool valid = false;
  bool cut = false;  // not valid only because the text ends where more could follow
};

// The one reading of UTF-8's rules: no overlong forms, no surrogates, nothing
// past U+10FFFF. pos must be inside text.
inline Utf8Step StepUtf8(std::string_view text, std::size_t pos) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data()) + pos;
  const std::size_t left = text.size() - pos;
  const unsigned char lead = bytes[0];
  if (lead < 0x80) return {lead, 1, true, false};
  std::uint8_t more;
  char32_t value;
  // The first continuation byte's range rules out overlong forms, surrogates
  // and values past U+10FFFF; the later ones take any continuation byte.
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    more = 1, value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    more = 2, value = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    more = 3, value = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {};
  }
  for (std::uint8_t i = 1; i <= more; ++i) {
    if (i == left) return {kReplacement, i, false, true};
    const unsigned char next = bytes[i];
    if (next < low || next > high) return {kReplacement, i, false, false};
    low = 0x80, high = 0xBF;
    value = (value << 6) | (next & 0x3F);
  }
  return {value, static_cast<std::uint8_t>(more + 1), true, false};
}

// Decodes one character at text[pos]: sets cp and returns its length, or
// returns 0 when the bytes there are not UTF-8 (overlong forms, surrogates
// and values past U+10FFFF included), or when the text ends inside it.
inline std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& cp) {
  const Utf8Step step = StepUtf8(text, pos);
  if (!step.valid) return 0;
  cp = step.cp;
  return step.length;
}

// What ill-formed bytes become.
enum class Utf8Faults : std::uint8_t {
  kEachByte,        // one U+FFFD for each byte that is not part of a character
  kMaximalSubpart,  // one U+FFFD for each maximal subpart, as Unicode recommends
};

// Decodes a text that arrives in pieces cut anywhere: a sequence split
// between two pieces is held for the next, and decodes as in the whole text.
// take(cp, valid) is called for each character or U+FFFD in turn; when it
// answers false, decoding stops and Feed or Finish answer false.
class Utf8Stream {
 public:
  explicit Utf8Stream(Utf8Faults faults) : faults_(faults) {}

  template <typename Take>
  bool Feed(std::string_view piece, Take&& take);
  // The end of the text: what is held was cut short.
  template <typename Take>
  bool Finish(Take&& take);

  bool holding() const { return heldSize_ > 0; }

 private:
  std::size_t Used(const Utf8Step& step) const {
    return step.valid || faults_ == Utf8Faults::kMaximalSubpart ? step.length : 1;
  }

  Utf8Faults faults_;
  std::uint8_t heldSize_ = 0;
  char held_[4] = {};
};

template <typename Take>
bool Utf8Stream::Feed(std::string_view piece, Take&& take) {
  std::size_t pos = 0;
  while (heldSize_ > 0) {
    // The held bytes with as many of the piece as a character can take.
    char head[4];
    std::memcpy(head, held_, heldSize_);
    const std::size_t more = std::min<std::size_t>(sizeof head - heldSize_, piece.size());
    std::memcpy(head + heldSize_, piece.data(), more);
    const std::size_t headSize = heldSize_ + more;
    const Utf8Step step = StepUtf8({head, headSize}, 0);
    if (step.cut) {  // the whole piece went in and still does not finish it
      std::memcpy(held_, head, headSize);
      heldSize_ = static_cast<std::uint8_t>(headSize);
      return true;
    }
    const std::size_t used = Used(step);
    if (used >= heldSize_) {
      pos = used - heldSize_;
      heldSize_ = 0;
    } else {
      std::memmove(held_, held_ + used, heldSize_ - used);
      heldSize_ = static_cast<std::uint8_t>(heldSize_ - used);
    }
    if (!take(step.cp, step.valid)) {
      heldSize_ = 0;
      return false;
    }
  }
  while (pos < piece.size()) {
    const Utf8Step step = StepUtf8(piece, pos);
    if (step.cut) {
      heldSize_ = static_cast<std::uint8_t>(piece.size() - pos);
      std::memcpy(held_, piece.data() + pos, heldSize_);
      return true;
    }
    pos += Used(step);
    if (!take(step.cp, step.valid)) return false;
  }
  return true;
}

template <typename Take>
bool Utf8Stream::Finish(Take&& take) {
  const std::size_t replacements = faults_ == Utf8Faults::kEachByte ? heldSize_ : heldSize_ > 0 ? 1 : 0;
  heldSize_ = 0;
  for (std::size_t i = 0; i < replacements; ++i)
    if (!take(kReplacement, false)) return false;
  return true;
}

// The text without a character cut short at its end, as a byte-counted
// buffer leaves it; anything else stays as it is.
std::string_view WithoutCutEnd(std::string_view text);

// Offset of the first byte that is not part of valid UTF-8; none when all is.
std::optional<std::size_t> FirstInvalidUtf8(std::string_view text);

std::u32string Utf8ToUtf32(std::string_view text);  // each invalid byte becomes U+FFFD

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
