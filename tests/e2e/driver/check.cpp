#include "check.h"

#include <cstdio>

namespace lk::e2e {

std::string Quote(const std::wstring& text) {
  std::string out = "\"";
  for (wchar_t c : text) {
    if (c >= 0x20 && c < 0x7F && c != L'\\' && c != L'"') {
      out += static_cast<char>(c);
    } else {
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "\\u{%04X}", static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out + "\"";
}

std::string QuoteBytes(const std::string& bytes) {
  std::string out = "\"";
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
      out += static_cast<char>(c);
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
      out += buffer;
    }
  }
  return out + "\"";
}

std::string QuoteOr(const std::optional<std::wstring>& text, const std::string& none) {
  return text ? Quote(*text) : none;
}

std::string Narrow(const std::wstring& ascii) {
  std::string out;
  for (wchar_t c : ascii) out += (c < 0x80) ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace lk::e2e
