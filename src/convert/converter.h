#pragma once
// Conversion between legacy-font text and Unicode Devanagari.
//
// Legacy text travels as Unicode too: every character is the Windows-1252
// decoding of one font code (code 0x89 arrives as U+2030), and U+F020..U+F0FF,
// as a symbol font's text may arrive, stands for code U+F0xx - 0xF000. Both
// directions read and write UTF-8, in pieces of any size, holding no more
// than the syllable in progress: a 2 GB file converts in constant memory.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "convert/legacy_font.h"

namespace lk::convert {

enum class Direction { kToUnicode, kToLegacy };

// Eyelash RA ("¥" in Preeti) as RA, VIRAMA, ZWJ (the dictionaries' spelling)
// or as RRA, VIRAMA.
enum class Eyelash { kZwj, kRra };

struct Options {
  LegacyFont font = LegacyFont::kPreeti;
  Eyelash eyelash = Eyelash::kZwj;
};

// Characters that had no equivalent: they pass through unchanged and are
// counted here, with the place of the first one (1-based line and column in
// characters, lines ended by LF).
struct Unconverted {
  std::uint64_t count = 0;
  std::uint64_t line = 0;
  std::uint64_t column = 0;
};

// "N characters had no equivalent and were left as they were", in the
// singular for one; both the toolbar and the command line say it.
std::string UnconvertedText(std::uint64_t count);

class Converter {
 public:
  Converter(Direction direction, const Options& options);
  ~Converter();
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Appends to out what the input so far settles. A UTF-8 sequence may be
  // split between two pieces; bytes that are not UTF-8 become U+FFFD.
  void Feed(std::string_view utf8, std::string& out);
  // Appends the rest: the syllable in progress, a reph or i-kar still open.
  void Finish(std::string& out);

  const Unconverted& unconverted() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Whole texts at once.
std::string ToUnicode(std::string_view legacyUtf8, const Options& options = {},
                      Unconverted* unconverted = nullptr);
std::string ToLegacy(std::string_view unicodeUtf8, const Options& options = {},
                     Unconverted* unconverted = nullptr);

}  // namespace lk::convert
