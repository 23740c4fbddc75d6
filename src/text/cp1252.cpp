#include "text/cp1252.h"

#include <array>

namespace lk::text {
namespace {

// Codes 128..159. The five codes Windows-1252 leaves undefined map to the C1
// control of the same value, as Windows does, so all 256 codes round-trip.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char16_t Cp1252ToUnit(unsigned char code) {
  if (code >= 0x80 && code < 0xA0) return kHigh[code - 0x80];
  return static_cast<char16_t>(code);
}

std::u16string Cp1252ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char c : bytes) out.push_back(Cp1252ToUnit(static_cast<unsigned char>(c)));
  return out;
}

int Cp1252CodeOf(char32_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<int>(u);
  // A symbol-charset font's text reaches the clipboard as U+F0xx, the code
  // in the low byte; it is the same legacy glyph.
  if (u >= 0xF020 && u <= 0xF0FF) return static_cast<int>(u & 0xFF);
  if (u > 0x2122) return -1;
  for (std::size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] == u) return static_cast<int>(0x80 + i);
  return -1;
}

std::string Utf16ToCp1252(std::u16string_view units) {
  std::string out;
  out.reserve(units.size());
  for (char16_t u : units) {
    const int code = Cp1252CodeOf(u);
    out.push_back(code < 0 ? '?' : static_cast<char>(code));
  }
  return out;
}

}  // namespace lk::text
