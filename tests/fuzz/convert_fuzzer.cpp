// libFuzzer target for the converter, both ways, every font and both eyelash
// spellings: whatever bytes come in, the output is UTF-8, and it is the same
// however the input is cut into pieces, since lekhopakar-convert feeds a file
// in reads of whatever size the system hands back. The command's own UTF-8
// check rides along, held against the whole-text check.
//
// Input: byte 0 picks direction, eyelash and font; byte 1 seeds the piece
// sizes; the rest is the text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

#include "cli/convert_cli.h"
#include "convert/converter.h"
#include "convert/legacy_font.h"
#include "text/utf8.h"
#include "fuzz_check.h"

namespace {

using namespace lk::convert;

// Mostly short pieces, so that characters, syllables and held-back marks are
// cut at every point, and now and then a long one, and empty ones too.
class PieceSizes {
 public:
  explicit PieceSizes(std::uint8_t seed) : state_(0x9E3779B9u ^ (seed * 0x01000193u)) {}
  std::size_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    const std::uint32_t r = state_ % 64;
    if (r < 48) return r % 6;
    return r % 48 + 1;
  }

 private:
  std::uint32_t state_;
};

bool SameUnconverted(const Unconverted& a, const Unconverted& b) {
  return a.count == b.count && a.line == b.line && a.column == b.column;
}

// Line and column, as the command reports them, of the byte at offset.
void PlaceOf(std::string_view text, std::size_t offset, std::uint64_t& line, std::uint64_t& column) {
  line = 1;
  column = 1;
  std::size_t pos = 0;
  char32_t cp;
  while (pos < offset) {
    const std::size_t length = lk::text::DecodeUtf8(text, pos, cp);
    CHECK(length > 0);
    if (cp == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
    pos += length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint8_t choice = data[0];
  const Direction direction = (choice & 1) ? Direction::kToLegacy : Direction::kToUnicode;
  Options options;
  options.eyelash = (choice & 2) ? Eyelash::kRra : Eyelash::kZwj;
  options.font = kAllLegacyFonts[(choice >> 2) % std::size(kAllLegacyFonts)];
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

  Converter whole(direction, options);
  std::string expected;
  whole.Feed(text, expected);
  whole.Finish(expected);
  CHECK(!lk::text::FirstInvalidUtf8(expected).has_value());

  Unconverted once;
  const std::string oneShot = direction == Direction::kToLegacy ? ToLegacy(text, options, &once)
                                                                : ToUnicode(text, options, &once);
  CHECK(oneShot == expected);
  CHECK(SameUnconverted(once, whole.unconverted()));

  Converter pieces(direction, options);
  lk::cli::Utf8Checker checker;
  std::string got;
  PieceSizes sizes(data[1]);
  for (std::size_t at = 0; at < text.size();) {
    const std::string_view piece = text.substr(at, sizes.Next());
    pieces.Feed(piece, got);
    checker.Feed(piece);
    at += piece.size();
  }
  pieces.Finish(got);
  CHECK(got == expected);
  CHECK(SameUnconverted(pieces.unconverted(), whole.unconverted()));

  const auto invalid = lk::text::FirstInvalidUtf8(text);
  CHECK(checker.Finish() == !invalid.has_value());
  if (invalid) {
    std::uint64_t line, column;
    PlaceOf(text, *invalid, line, column);
    CHECK(checker.line() == line);
    CHECK(checker.column() == column);
  }
  return 0;
}
