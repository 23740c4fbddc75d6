#include "cli/text_encoding.h"

#include "text/cp1252.h"
#include "text/utf8.h"

namespace lk::cli {

ByteOrderMark ReadByteOrderMark(std::string_view start) {
  if (start.starts_with("\xEF\xBB\xBF")) return {TextEncoding::kUtf8, 3};
  if (start.starts_with("\xFF\xFE")) return {TextEncoding::kUtf16Le, 2};
  if (start.starts_with("\xFE\xFF")) return {TextEncoding::kUtf16Be, 2};
  return {TextEncoding::kUtf8, 0};
}

void TextDecoder::Emit(char32_t cp, std::string& utf8) {
  text::AppendUtf8(utf8, cp);
  if (cp == U'\n') {
    ++line_;
    column_ = 1;
  } else {
    ++column_;
  }
}

void TextDecoder::Fault(std::string& utf8) {
  if (ok_) {
    ok_ = false;
    faultLine_ = line_;
    faultColumn_ = column_;
  }
  Emit(text::kReplacement, utf8);
}

void TextDecoder::Unit(char16_t unit, std::string& utf8) {
  const bool high = unit >= 0xD800 && unit <= 0xDBFF;
  const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
  if (highSurrogate_ != 0) {
    if (low) {
      const char32_t cp = 0x10000 + ((char32_t{highSurrogate_} - 0xD800) << 10) + (unit - 0xDC00);
      highSurrogate_ = 0;
      Emit(cp, utf8);
      return;
    }
    highSurrogate_ = 0;
    Fault(utf8);
  }
  if (high) {
    highSurrogate_ = unit;
  } else if (low) {
    Fault(utf8);
  } else {
    Emit(unit, utf8);
  }
}

void TextDecoder::Feed(std::string_view bytes, std::string& utf8) {
  switch (encoding_) {
    case TextEncoding::kUtf8:
      utf8.append(bytes);
      return;
    case TextEncoding::kWindows1252:
      for (char c : bytes) text::AppendUtf8(utf8, text::Cp1252ToUnit(static_cast<unsigned char>(c)));
      return;
    case TextEncoding::kUtf16Le:
    case TextEncoding::kUtf16Be:
      break;
  }
  const bool little = encoding_ == TextEncoding::kUtf16Le;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (!haveOddByte_) {
      oddByte_ = byte;
      haveOddByte_ = true;
      continue;
    }
    haveOddByte_ = false;
    const auto unit = little ? static_cast<char16_t>(oddByte_ | (byte << 8))
                             : static_cast<char16_t>((oddByte_ << 8) | byte);
    Unit(unit, utf8);
  }
}

void TextDecoder::Finish(std::string& utf8) {
  if (highSurrogate_ != 0) {
    highSurrogate_ = 0;
    Fault(utf8);
  }
  if (haveOddByte_) {
    haveOddByte_ = false;
    Fault(utf8);
  }
}

std::string_view EncodingName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kUtf8:
      return "UTF-8";
    case TextEncoding::kUtf16Le:
      return "UTF-16 (little-endian)";
    case TextEncoding::kUtf16Be:
      return "UTF-16 (big-endian)";
    case TextEncoding::kWindows1252:
      return "Windows-1252";
  }
  return "";
}

}  // namespace lk::cli
