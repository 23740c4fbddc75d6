#pragma once
// How an RTF document's bytes above 0x7F read as text: in the code page its
// \ansicpgN names, or the one a font's \fcharsetN implies. Tables of our own,
// so that the reading never depends on the system the program runs on.
#include <array>
#include <optional>

namespace lk::documents::rtf {

inline constexpr int kDefaultCodePage = 1252;

// The code page a font's charset stands for; none for the ANSI and default
// charsets (the document's code page holds) and for the symbol charset, whose
// bytes are glyph codes.
std::optional<int> CodePageOfCharset(int charset);

class CodePage {
 public:
  // A page we hold no table for reads as Windows-1252, as it always did.
  explicit CodePage(int number = kDefaultCodePage);

  int number() const { return number_; }
  // Japanese, Chinese and Korean pages: a lead byte and the byte after it
  // are one character, and must not be read as two. We hold no table of
  // their pairs: the reader takes a pair for one U+FFFD, and the document
  // keeps its bytes wherever its run is not rewritten.
  bool IsLeadByte(unsigned char byte) const;
  // The character of a byte that is not part of a pair.
  char16_t UnitOf(unsigned char byte) const;

 private:
  int number_;
  const std::array<char16_t, 128>* upper_ = nullptr;  // none: Windows-1252
};

}  // namespace lk::documents::rtf
