#pragma once
// What a text file handed to lekhopakar-convert is written in. Notepad saves
// "UTF-8", "Unicode" (UTF-16 with a byte order mark, little- or big-endian)
// and "ANSI" (on a Western system, Windows-1252: for legacy-font text, the
// font's codes themselves); the converter reads UTF-8 only, so every other
// form is turned into UTF-8 on the way in.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lk::cli {

enum class TextEncoding { kUtf8, kUtf16Le, kUtf16Be, kWindows1252 };

struct ByteOrderMark {
  TextEncoding encoding = TextEncoding::kUtf8;
  std::size_t length = 0;  // bytes the mark takes; none is 0
};

// From the file's first bytes (three, or all there are when fewer). A UTF-8
// mark says UTF-8; no mark says nothing more than that UTF-8 is tried first.
ByteOrderMark ReadByteOrderMark(std::string_view start);

// Bytes of one encoding to UTF-8, in pieces of any size (a UTF-16 unit or
// surrogate pair may be split between pieces). UTF-8 passes through as it
// is; Utf8Checker judges it. In UTF-16 an unpaired surrogate or a last odd
// byte is a fault: it becomes U+FFFD and the first one's place is kept, in
// lines and characters as Utf8Checker counts them.
class TextDecoder {
 public:
  explicit TextDecoder(TextEncoding encoding) : encoding_(encoding) {}

  void Feed(std::string_view bytes, std::string& utf8);
  void Finish(std::string& utf8);

  bool ok() const { return ok_; }
  std::uint64_t line() const { return faultLine_; }
  std::uint64_t column() const { return faultColumn_; }

 private:
  void Unit(char16_t unit, std::string& utf8);
  void Emit(char32_t cp, std::string& utf8);
  void Fault(std::string& utf8);

  TextEncoding encoding_;
  bool ok_ = true;
  std::uint64_t line_ = 1;
  std::uint64_t column_ = 1;
  std::uint64_t faultLine_ = 0;
  std::uint64_t faultColumn_ = 0;
  bool haveOddByte_ = false;
  unsigned char oddByte_ = 0;
  char16_t highSurrogate_ = 0;  // 0 when none is waiting for its pair
};

// How an encoding is named to the user.
std::string_view EncodingName(TextEncoding encoding);

}  // namespace lk::cli
