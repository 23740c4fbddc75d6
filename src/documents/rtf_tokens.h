#pragma once
// RTF cut into its tokens, each with the bytes it came from, so that a
// writer can copy whatever it does not rewrite exactly as it was. Nothing is
// held but the position: a token is a view into the input.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lk::documents::rtf {

enum class TokenKind {
  kGroupOpen,   // {
  kGroupClose,  // }
  kWord,        // \name or \nameN, its delimiting blank included
  kSymbol,      // \ and one character that is not a letter (\~ \* \{ ...)
  kHex,         // \'hh: one byte in the code page of the text
  kText,        // bytes that stand for themselves
  kIgnored,     // line breaks and other control bytes a reader skips
};

struct Token {
  TokenKind kind = TokenKind::kIgnored;
  std::size_t begin = 0;  // bytes of the input
  std::size_t end = 0;
  std::string_view name;  // kWord: the letters; kSymbol: the character; kText: the bytes
  bool hasParameter = false;
  std::int32_t parameter = 0;  // saturated at the 32-bit limits
  unsigned char byte = 0;      // kHex
};

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view input) : input_(input) {}

  // False at the end of the input.
  bool Next(Token& token);

  // \binN: the next count bytes (no more than remain) are data, not RTF.
  // Returns where the data ends, the tokenizer having moved past it.
  std::size_t SkipBinary(std::uint64_t count);

  // After \uN, the count characters that stand in for it in readers that
  // know no Unicode: a byte of text or one \'hh each. Skipping stops early
  // at anything else (a brace, a control word), as readers do. Returns
  // where the skipped characters end.
  std::size_t SkipFallback(int count);

  std::size_t position() const { return pos_; }

 private:
  std::string_view input_;
  std::size_t pos_ = 0;
};

}  // namespace lk::documents::rtf
