#include "text/trim.h"

namespace lk::text {
namespace {
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string TrimBlanks(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(' ');
  return std::string(s.substr(first, last - first + 1));
}

std::string TrimTrailingBlanks(std::string_view s) {
  const auto last = s.find_last_not_of(' ');
  if (last == std::string_view::npos) return {};
  return std::string(s.substr(0, last + 1));
}

std::string_view TrimSpacing(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool ContainsIgnoreCase(std::string_view haystack, std::string_view needle) {
  for (std::size_t at = 0; at + needle.size() <= haystack.size(); ++at)
    if (EqualsIgnoreCase(haystack.substr(at, needle.size()), needle)) return true;
  return false;
}

}  // namespace lk::text
