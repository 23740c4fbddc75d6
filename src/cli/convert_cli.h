#pragma once
// lekhopakar-convert: converts text files and documents between a legacy
// font's encoding and Unicode from the command line. Everything but the
// console set-up lives here, over standard streams, so tests drive it the way
// a shell does.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/document_jobs.h"
#include "convert/converter.h"
#include "text/utf8.h"

namespace lk::cli {

inline constexpr std::string_view kProgramName = "lekhopakar-convert";

struct ConvertArgs {
  lk::convert::Direction direction = lk::convert::Direction::kToUnicode;
  lk::convert::Options options;
  bool strict = false;
  bool help = false;
  bool version = false;
  // The font converted document runs get; none keeps the documents' default.
  std::optional<std::string> unicodeFont;
  // -o: the output file of one document, or the folder of several.
  std::optional<std::string> output;
  std::optional<unsigned> jobs;
  bool overwrite = false;
  // Text files are read in this order; none means standard input, and so
  // does "-". Documents and folders go through the document run.
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
  bool Decode(std::string_view bytes);
  bool Count(char32_t c, bool valid);

  bool ok_ = true;
  std::uint64_t line_ = 1;
  std::uint64_t column_ = 1;
  text::Utf8Stream decoder_{text::Utf8Faults::kMaximalSubpart};
};

struct ConvertIo {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  // Bytes read at a time; memory stays within a few times this, whatever the input.
  std::size_t chunkSize = std::size_t{1} << 16;
  // What the entry point knows of where the command runs.
  bool errIsTerminal = false;  // a progress line is then kept on standard error
  unsigned cores = 1;
  std::uint64_t physicalMemory = 0;  // bytes; 0 when unknown
  // Set (from a signal handler, say) to stop: files in progress are removed.
  const std::atomic<bool>* cancel = nullptr;
  // Converts one document; empty means documents::ConvertDocumentFile.
  DocumentConverter convertDocument = {};
};

// The status of a run stopped through ConvertIo::cancel, as a shell reports
// a program that Ctrl+C ended.
inline constexpr int kCancelledStatus = 130;

// Runs the command with args (the program name left out) and returns its exit
// status: 0, 1 (a file could not be read, converted or written), 2 (wrong
// usage, or inputs and -o that cannot go together), 3 (--strict and
// characters that had no equivalent) or kCancelledStatus.
int RunConvert(std::span<const std::string> args, const ConvertIo& io);

}  // namespace lk::cli
