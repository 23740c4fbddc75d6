#pragma once
// lekhopakar-convert: converts text files between a legacy font's encoding and
// Unicode from the command line. Everything but the console set-up lives here,
// over standard streams, so tests drive it the way a shell does.
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "convert/converter.h"

namespace lk::cli {

inline constexpr std::string_view kProgramName = "lekhopakar-convert";

struct ConvertArgs {
  lk::convert::Direction direction = lk::convert::Direction::kToUnicode;
  lk::convert::Options options;
  bool strict = false;
  bool help = false;
  bool version = false;
  // Read in this order; none means standard input, and so does "-".
  std::vector<std::string> files;
};

// Either the arguments or what was wrong with them, in words for the user.
struct ParsedArgs {
  std::optional<ConvertArgs> args;
  std::string error;
};

ParsedArgs ParseConvertArgs(std::span<const std::string> args);

std::string ConvertUsage();

// Checks UTF-8 that arrives in pieces of any size, and knows where the first
// fault is: the line (lines ended by LF) and the column, in characters, of the
// sequence that is not UTF-8. Counting characters rather than bytes makes the
// place match what an editor shows and what the converter reports.
class Utf8Checker {
 public:
  // False once a fault is seen; later pieces are then ignored.
  bool Feed(std::string_view piece);
  // False when the input ended inside a sequence.
  bool Finish();

  bool ok() const { return ok_; }
  std::uint64_t line() const { return line_; }
  std::uint64_t column() const { return column_; }  // of the fault, or the next character

 private:
  void Fail();

  bool ok_ = true;
  std::uint64_t line_ = 1;
  std::uint64_t column_ = 1;
  int pending_ = 0;  // continuation bytes still expected
  unsigned char low_ = 0x80;
  unsigned char high_ = 0xBF;
};

struct ConvertIo {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  // Bytes read at a time; memory stays within a few times this, whatever the input.
  std::size_t chunkSize = std::size_t{1} << 16;
};

// Runs the command with args (the program name left out) and returns its exit
// status: 0, 1 (a file could not be read or was not UTF-8, or the output could
// not be written), 2 (wrong usage) or 3 (--strict and characters that had no
// equivalent).
int RunConvert(std::span<const std::string> args, const ConvertIo& io);

}  // namespace lk::cli
