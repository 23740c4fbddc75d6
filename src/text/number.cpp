#include "text/number.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace lk::text {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of s (starting at i) that forms
// [sign] digits [. digits]; 0 when it holds no digit.
std::size_t NumberLength(std::string_view s, std::size_t i) {
  const std::size_t start = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    std::size_t j = i + 1;
    std::size_t frac = 0;
    while (j < s.size() && IsDigit(s[j])) ++j, ++frac;
    if (digits + frac > 0) i = j;
    digits += frac;
  }
  return digits == 0 ? 0 : i - start;
}

double ToDouble(std::string_view s) {
  const std::string copy(s);
  return std::strtod(copy.c_str(), nullptr);
}

}  // namespace

std::optional<double> ParseNumeric(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  const std::size_t len = NumberLength(s, i);
  if (len == 0) return std::nullopt;
  std::size_t end = i + len;
  while (end < s.size() && s[end] == ' ') ++end;
  if (end != s.size()) return std::nullopt;
  return ToDouble(s.substr(i, len));
}

double LeadingNumber(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  const std::size_t len = NumberLength(s, i);
  return len == 0 ? 0.0 : ToDouble(s.substr(i, len));
}

double RoundHalfEven(double v) { return std::nearbyint(v); }

std::optional<std::int32_t> ToInt32(std::string_view s) {
  const auto v = ParseNumeric(s);
  if (!v) return std::nullopt;
  const double r = RoundHalfEven(*v);
  if (!(r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max()))
    return std::nullopt;
  return static_cast<std::int32_t>(r);
}

std::string NumberText(long long value) {
  std::string text = value < 0 ? std::string() : std::string(1, ' ');
  text.append(std::to_string(value));
  return text;
}

}  // namespace lk::text
