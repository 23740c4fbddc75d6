#include "documents/rtf_tokens.h"

#include <algorithm>
#include <limits>

namespace lk::documents::rtf {
namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Tabs are text; line breaks and the other control bytes are not, as RTF
// writers wrap long lines anywhere.
bool IsIgnored(char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }

bool IsText(char c) { return c != '\\' && c != '{' && c != '}' && !IsIgnored(c); }

}  // namespace

bool Tokenizer::Next(Token& token) {
  if (pos_ >= input_.size()) return false;
  token = Token{};
  token.begin = pos_;
  const char c = input_[pos_];
  if (c == '{' || c == '}') {
    token.kind = c == '{' ? TokenKind::kGroupOpen : TokenKind::kGroupClose;
    ++pos_;
  } else if (c != '\\') {
    const bool ignored = IsIgnored(c);
    token.kind = ignored ? TokenKind::kIgnored : TokenKind::kText;
    while (pos_ < input_.size() && (ignored ? IsIgnored(input_[pos_]) : IsText(input_[pos_]))) ++pos_;
    token.name = input_.substr(token.begin, pos_ - token.begin);
  } else if (pos_ + 1 < input_.size() && IsLetter(input_[pos_ + 1])) {
    token.kind = TokenKind::kWord;
    std::size_t end = pos_ + 1;
    while (end < input_.size() && IsLetter(input_[end])) ++end;
    token.name = input_.substr(pos_ + 1, end - pos_ - 1);
    const bool negative = end + 1 < input_.size() && input_[end] == '-' && IsDigit(input_[end + 1]);
    if (negative) ++end;
    if (end < input_.size() && IsDigit(input_[end])) {
      token.hasParameter = true;
      std::int64_t value = 0;
      constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
      while (end < input_.size() && IsDigit(input_[end])) {
        value = std::min(value * 10 + (input_[end] - '0'), kLimit + 1);
        ++end;
      }
      if (negative) value = -value;
      token.parameter = static_cast<std::int32_t>(std::clamp<std::int64_t>(value, -kLimit - 1, kLimit));
    }
    if (end < input_.size() && input_[end] == ' ') ++end;
    pos_ = end;
  } else if (pos_ + 3 < input_.size() && input_[pos_ + 1] == '\'' && HexValue(input_[pos_ + 2]) >= 0 &&
             HexValue(input_[pos_ + 3]) >= 0) {
    token.kind = TokenKind::kHex;
    token.byte = static_cast<unsigned char>(HexValue(input_[pos_ + 2]) * 16 + HexValue(input_[pos_ + 3]));
    pos_ += 4;
  } else if (pos_ + 1 < input_.size() && (input_[pos_ + 1] == '\r' || input_[pos_ + 1] == '\n')) {
    // A backslash ending a line is an old spelling of \par.
    token.kind = TokenKind::kWord;
    token.name = "par";
    pos_ += 2;
  } else {
    token.kind = TokenKind::kSymbol;
    const std::size_t length = pos_ + 1 < input_.size() ? 2 : 1;
    token.name = input_.substr(pos_ + 1, length - 1);
    pos_ += length;
  }
  token.end = pos_;
  return true;
}

std::size_t Tokenizer::SkipBinary(std::uint64_t count) {
  pos_ += static_cast<std::size_t>(std::min<std::uint64_t>(count, input_.size() - pos_));
  return pos_;
}

std::size_t Tokenizer::SkipFallback(int count) {
  while (count > 0 && pos_ < input_.size()) {
    const char c = input_[pos_];
    if (c == '\r' || c == '\n') {
      ++pos_;
      continue;
    }
    if (c == '{' || c == '}') break;
    if (c == '\\') {
      if (pos_ + 3 < input_.size() && input_[pos_ + 1] == '\'' && HexValue(input_[pos_ + 2]) >= 0 &&
          HexValue(input_[pos_ + 3]) >= 0) {
        pos_ += 4;
        --count;
        continue;
      }
      break;
    }
    ++pos_;
    --count;
  }
  return pos_;
}

}  // namespace lk::documents::rtf
