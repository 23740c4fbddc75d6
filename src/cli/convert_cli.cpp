#include "cli/convert_cli.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <random>
#include <sstream>
#include <system_error>

#include "cli/document_plan.h"
#include "cli/path_text.h"
#include "cli/text_encoding.h"
#include "convert/legacy_font.h"
#include "text/trim.h"
#include "text/utf8.h"
#include "version.h"

namespace lk::cli {
namespace {

namespace fs = std::filesystem;
using lk::convert::Converter;
using lk::convert::Direction;
using lk::convert::Eyelash;
using lk::convert::LegacyFont;

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kStandardInputName = "(standard input)";

std::string KnownFonts() {
  std::string names;
  for (LegacyFont font : lk::convert::kAllLegacyFonts) {
    if (!names.empty()) names += ", ";
    names += lk::convert::LegacyFontName(font);
  }
  return names;
}

ParsedArgs Wrong(std::string message) { return {std::nullopt, std::move(message)}; }

// More at once than this only makes the files queue for the disk.
constexpr unsigned kMaxJobs = 256;

std::optional<unsigned> JobsValue(std::string_view value) {
  if (value.empty() || value.size() > 3) return std::nullopt;
  unsigned jobs = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    jobs = jobs * 10 + static_cast<unsigned>(c - '0');
  }
  if (jobs < 1 || jobs > kMaxJobs) return std::nullopt;
  return jobs;
}

// Windows keeps a font's family name in 31 UTF-16 units at most; a name
// with control characters is no font's.
bool FontNameFits(std::string_view name) {
  if (name.empty() || lk::text::FirstInvalidUtf8(name)) return false;
  const std::u16string units = lk::text::Utf8ToUtf16(name);
  if (units.size() > 31) return false;
  for (char16_t unit : units) {
    if (unit < 0x20 || unit == 0x7F) return false;
  }
  return true;
}

// A file the command writes the input to while checking it, when the input
// cannot be read twice (standard input, a pipe). Removed when done with.
class Spool {
 public:
  bool Open(std::string& reason) {
    std::error_code ec;
    fs::path dir = fs::temp_directory_path(ec);
    if (ec) {
      reason = "no folder for temporary files: " + ec.message();
      return false;
    }
    std::random_device random;
    const unsigned long long tag = (static_cast<unsigned long long>(random()) << 32) ^ random();
    std::ostringstream name;
    name << "lekhopakar-convert-" << std::hex << tag << ".tmp";
    path_ = dir / name.str();
    stream_.open(path_, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
    if (!stream_.is_open()) {
      reason = "cannot make a temporary file in " + dir.string();
      path_.clear();
      return false;
    }
#ifndef _WIN32
    // Unlinked at once, so not even a crash leaves a copy of the input behind.
    fs::remove(path_, ec);
    path_.clear();
#endif
    return true;
  }
  ~Spool() {
    stream_.close();
    std::error_code ec;
    if (!path_.empty()) fs::remove(path_, ec);
  }
  std::fstream& stream() { return stream_; }

 private:
  fs::path path_;
  std::fstream stream_;
};

enum class Outcome { kConverted, kInputFailed, kOutputFailed, kCancelled };

struct Totals {
  std::uint64_t unconverted = 0;
  std::string firstPlace;  // name:line:column of the first character left as it was
};

std::string Place(std::string_view name, std::uint64_t line, std::uint64_t column) {
  std::ostringstream place;
  place << name << ':' << line << ':' << column;
  return place.str();
}

std::size_t ReadSome(std::istream& in, std::string& buffer, std::size_t size) {
  buffer.resize(size);
  in.read(buffer.data(), static_cast<std::streamsize>(size));
  const auto got = static_cast<std::size_t>(in.gcount());
  buffer.resize(got);
  return got;
}

class FileConverter {
 public:
  FileConverter(const ConvertArgs& args, const ConvertIo& io, Totals& totals)
      : args_(args), io_(io), totals_(totals) {}

  Outcome Run(const std::string& name) {
    if (name == "-") return FromUnrereadable(io_.in, kStandardInputName);

    const fs::path path = PathFromUtf8(name);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (fs::is_directory(status)) return CannotRead(name, "it is a folder");
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
      const int error = errno;
      return CannotRead(name, error != 0 ? std::strerror(error) : "it cannot be opened");
    }
    // A pipe or a device yields its bytes once; only a regular file can be
    // read again after checking.
    if (!fs::is_regular_file(status)) return FromUnrereadable(file, name);

    const std::optional<TextEncoding> encoding = Check(file, name, nullptr);
    // A read that Ctrl+C cut short looks like the end of the input.
    if (Stopped()) return Outcome::kCancelled;
    if (!encoding) return Outcome::kInputFailed;
    file.clear();
    file.seekg(0);
    if (!file) return CannotRead(name, "it cannot be read a second time");
    return Convert(file, name, *encoding);
  }

 private:
  Outcome FromUnrereadable(std::istream& in, std::string_view name) {
    Spool spool;
    std::string reason;
    if (!spool.Open(reason)) return CannotRead(name, reason);
    const std::optional<TextEncoding> encoding = Check(in, name, &spool.stream());
    if (Stopped()) return Outcome::kCancelled;
    if (!encoding) return Outcome::kInputFailed;
    spool.stream().flush();
    spool.stream().seekg(0);
    if (!spool.stream()) return CannotRead(name, "its temporary copy could not be written or read back");
    return Convert(spool.stream(), name, *encoding);
  }

  Outcome CannotRead(std::string_view name, std::string_view reason) {
    io_.err << kProgramName << ": cannot read " << name << ": " << reason << '\n';
    return Outcome::kInputFailed;
  }

  bool Stopped() const { return io_.cancel && io_.cancel->load(); }

  void Copy(std::fstream* spool) {
    if (spool) spool->write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  }

  // Reads all of in, copying it to spool when there is one, and finds what
  // it is written in; none when it cannot be converted (the fault is said)
  // or the run was cancelled.
  std::optional<TextEncoding> Check(std::istream& in, std::string_view name, std::fstream* spool) {
    ReadSome(in, buffer_, kBom.size());
    Copy(spool);
    const ByteOrderMark mark = ReadByteOrderMark(buffer_);
    if (mark.encoding != TextEncoding::kUtf8) return CheckUtf16(in, name, spool, mark);

    Utf8Checker checker;
    // Legacy text that is not UTF-8 is most likely Notepad's "ANSI": the
    // font's codes themselves. Unicode Devanagari never is, so text to be
    // made legacy must be UTF-8. A NUL byte says the file is not text at all.
    const bool mayBeWindows1252 = args_.direction == Direction::kToUnicode;
    bool holdsNul = buffer_.find('\0') != std::string::npos;
    // Columns count from after a byte order mark, as the converter never sees it.
    if (mark.length == 0) checker.Feed(buffer_);
    while ((checker.ok() || mayBeWindows1252) && ReadSome(in, buffer_, io_.chunkSize) > 0) {
      if (Stopped()) return std::nullopt;
      checker.Feed(buffer_);
      holdsNul = holdsNul || buffer_.find('\0') != std::string::npos;
      Copy(spool);
    }
    if (!ReadWhole(in, name, spool)) return std::nullopt;
    if (checker.ok() && checker.Finish()) return TextEncoding::kUtf8;
    const std::string place = Place(name, checker.line(), checker.column());
    if (mayBeWindows1252 && !holdsNul) {
      io_.err << kProgramName << ": " << place << ": not valid UTF-8; read as Windows-1252 (Notepad's \"ANSI\")\n";
      return TextEncoding::kWindows1252;
    }
    io_.err << kProgramName << ": " << place << ": not valid UTF-8"
            << (mayBeWindows1252 ? ", nor Windows-1252 text (it holds NUL bytes)" : "")
            << "; nothing of this file was written\n";
    return std::nullopt;
  }

  std::optional<TextEncoding> CheckUtf16(std::istream& in, std::string_view name, std::fstream* spool,
                                         const ByteOrderMark& mark) {
    TextDecoder decoder(mark.encoding);
    decoder.Feed(std::string_view(buffer_).substr(mark.length), decoded_);
    while (decoder.ok() && ReadSome(in, buffer_, io_.chunkSize) > 0) {
      if (Stopped()) return std::nullopt;
      decoded_.clear();
      decoder.Feed(buffer_, decoded_);
      Copy(spool);
    }
    decoder.Finish(decoded_);
    decoded_.clear();
    if (!ReadWhole(in, name, spool)) return std::nullopt;
    if (!decoder.ok()) {
      io_.err << kProgramName << ": " << Place(name, decoder.line(), decoder.column()) << ": not valid "
              << EncodingName(mark.encoding) << "; nothing of this file was written\n";
      return std::nullopt;
    }
    return mark.encoding;
  }

  bool ReadWhole(std::istream& in, std::string_view name, std::fstream* spool) {
    if (in.bad()) {
      CannotRead(name, "a read failed");
      return false;
    }
    if (spool && !*spool) {
      CannotRead(name, "its temporary copy could not be written");
      return false;
    }
    return true;
  }

  Outcome Convert(std::istream& in, std::string_view name, TextEncoding encoding) {
    Converter converter(args_.direction, args_.options);
    TextDecoder decoder(encoding);
    const auto feed = [&](std::string_view bytes) {
      if (encoding == TextEncoding::kUtf8) {
        converter.Feed(bytes, output_);
        return;
      }
      decoded_.clear();
      decoder.Feed(bytes, decoded_);
      converter.Feed(decoded_, output_);
    };
    ReadSome(in, buffer_, kBom.size());
    output_.clear();
    // Windows-1252 has no mark: its first bytes are text whatever they are.
    const std::size_t mark = encoding == TextEncoding::kWindows1252 ? 0 : ReadByteOrderMark(buffer_).length;
    feed(std::string_view(buffer_).substr(mark));
    while (ReadSome(in, buffer_, io_.chunkSize) > 0) {
      if (Stopped()) return Outcome::kCancelled;
      feed(buffer_);
      if (!Write()) return Outcome::kOutputFailed;
    }
    if (in.bad()) return CannotRead(name, "a read failed");
    decoded_.clear();
    decoder.Finish(decoded_);
    converter.Feed(decoded_, output_);
    converter.Finish(output_);
    if (!Write()) return Outcome::kOutputFailed;

    const auto& unconverted = converter.unconverted();
    if (unconverted.count > 0) {
      if (totals_.unconverted == 0) totals_.firstPlace = Place(name, unconverted.line, unconverted.column);
      totals_.unconverted += unconverted.count;
    }
    return Outcome::kConverted;
  }

  bool Write() {
    io_.out.write(output_.data(), static_cast<std::streamsize>(output_.size()));
    output_.clear();
    return static_cast<bool>(io_.out);
  }

  const ConvertArgs& args_;
  const ConvertIo& io_;
  Totals& totals_;
  std::string buffer_;
  std::string decoded_;
  std::string output_;
};

constexpr std::string_view kHelp =
    "Converts text files and documents between a legacy Nepali font's encoding and Unicode.\n"
    "\n"
    "  --to unicode          legacy-font text in, Unicode Devanagari out\n"
    "  --to legacy           Unicode Devanagari in, legacy-font text out\n"
    "  --font NAME           the legacy font family (default Preeti; case, blanks, '-' and '_'\n"
    "                        do not matter)\n"
    "  --unicode-font NAME   the font converted document text gets (default Nirmala UI)\n"
    "  --eyelash zwj|rra     write eyelash RA as RA, VIRAMA, ZWJ (default) or as RRA, VIRAMA\n"
    "  --strict              exit with status 3 when a character had no equivalent\n"
    "  -o OUT                the output file of one document, or the folder the outputs of\n"
    "                        several documents or of a folder go to (its tree mirrored)\n"
    "  --jobs N              convert N documents at once (default: one per core, as memory allows)\n"
    "  --overwrite           replace outputs that exist already (never an input)\n"
    "  --version             print the program's version\n"
    "\n"
    "Text files are read in turn, or standard input when there are none or for \"-\", and\n"
    "written as UTF-8 to standard output, line breaks unchanged. Input is UTF-8 (a leading\n"
    "byte order mark is dropped) or UTF-16 with a byte order mark; to Unicode, anything else\n"
    "is read as Windows-1252, and legacy text is the Windows-1252 reading of the font codes.\n"
    "A file that cannot be read or converted is reported and skipped, nothing of it written,\n"
    "and the exit status is 1.\n"
    "\n"
    "Documents (.docx .docm .dotx .xlsx .xlsm .pptx .pptm .odt .ods .odp .rtf) and folders of\n"
    "them are converted into new files, without -o beside each input as \"NAME (Unicode).docx\" or \"NAME (Preeti).docx\". Word's\n"
    "~$ lock files and earlier outputs in folders are skipped. Ctrl+C stops the run and removes\n"
    "the files in progress.\n";

documents::ConvertSettings SettingsOf(const ConvertArgs& args) {
  documents::ConvertSettings settings;
  settings.direction = args.direction;
  settings.options = args.options;
  if (args.unicodeFont) settings.unicodeFont = *args.unicodeFont;
  return settings;
}

// Text files streamed to standard output in the order given; the status of
// that part of the run.
int ConvertTexts(const std::vector<std::string>& files, const ConvertArgs& options, const ConvertIo& io) {
  Totals totals;
  FileConverter converter(options, io, totals);
  int status = 0;
  for (const std::string& name : files) {
    const Outcome outcome = io.cancel && io.cancel->load() ? Outcome::kCancelled : converter.Run(name);
    if (outcome == Outcome::kOutputFailed) {
      io.err << kProgramName << ": cannot write the output\n";
      return 1;
    }
    if (outcome == Outcome::kCancelled) {
      io.out.flush();
      io.err << kProgramName << ": cancelled\n";
      return kCancelledStatus;
    }
    if (outcome == Outcome::kInputFailed) status = 1;
  }
  io.out.flush();
  if (!io.out) {
    io.err << kProgramName << ": cannot write the output\n";
    return 1;
  }

  if (totals.unconverted > 0) {
    io.err << kProgramName << ": " << lk::convert::UnconvertedText(totals.unconverted) << " (first at "
           << totals.firstPlace << ")\n";
    if (options.strict && status == 0) status = 3;
  }
  return status;
}

int ConvertDocuments(const DocumentPlan& plan, const ConvertArgs& options, const ConvertIo& io) {
  for (const FileNote& failed : plan.failed) io.err << kProgramName << ": " << failed.name << ": " << failed.reason << '\n';
  if (!plan.outputFolder.empty() && !plan.jobs.empty()) {
    std::error_code ec;
    fs::create_directories(plan.outputFolder, ec);
    if (ec) {
      io.err << kProgramName << ": cannot make the folder " << Utf8FromPath(plan.outputFolder) << ": "
             << ec.message() << '\n';
      return 1;
    }
  }
  const JobCount jobs = CountJobs(options.jobs, io.cores, io.physicalMemory, plan.jobs.size());
  if (options.jobs && jobs.limitedByMemory) {
    io.err << kProgramName << ": --jobs " << *options.jobs << ": " << jobs.count
           << " at once, as many as half of this machine's memory holds at 1 GiB a document\n";
  }
  JobRun run;
  run.settings = SettingsOf(options);
  run.overwrite = options.overwrite;
  run.threads = jobs.count;
  run.cancel = io.cancel;
  run.convert = io.convertDocument;
  run.err = &io.err;
  run.progress = io.errIsTerminal;
  const std::vector<JobOutcome> outcomes = RunDocumentJobs(plan.jobs, run);
  const DocumentTotals totals = Summarize(plan, outcomes, io.err);
  if (io.cancel && io.cancel->load()) {
    io.err << kProgramName << ": cancelled; the documents in progress were removed, the finished ones kept\n";
    io.err.flush();
    return kCancelledStatus;
  }
  io.err.flush();
  if (totals.failed > 0) return 1;
  return options.strict && totals.unconverted > 0 ? 3 : 0;
}

}  // namespace

ParsedArgs ParseConvertArgs(std::span<const std::string> args) {
  ConvertArgs parsed;
  bool haveDirection = false;
  bool onlyFiles = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (onlyFiles || arg == "-" || arg.empty() || arg[0] != '-') {
      parsed.files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      onlyFiles = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
      return {std::move(parsed), {}};
    }
    if (arg == "--version") {
      parsed.version = true;
      return {std::move(parsed), {}};
    }
    if (arg == "--strict") {
      parsed.strict = true;
      continue;
    }
    if (arg == "--overwrite") {
      parsed.overwrite = true;
      continue;
    }
    std::string option = arg;
    std::optional<std::string> value;
    if (const auto equals = arg.find('='); equals != std::string::npos) {
      option = arg.substr(0, equals);
      value = arg.substr(equals + 1);
    }
    if (option == "--strict" || option == "--overwrite" || option == "--help" || option == "--version") {
      return Wrong(option + " takes no value");
    }
    if (option != "--to" && option != "--font" && option != "--eyelash" && option != "--unicode-font" &&
        option != "-o" && option != "--jobs") {
      return Wrong("unknown option " + option);
    }
    if (!value) {
      if (i + 1 >= args.size()) return Wrong(option + " needs a value");
      value = args[++i];
    }
    if (option == "--to") {
      if (text::EqualsIgnoreCase(*value, "unicode")) {
        parsed.direction = Direction::kToUnicode;
      } else if (text::EqualsIgnoreCase(*value, "legacy")) {
        parsed.direction = Direction::kToLegacy;
      } else {
        return Wrong("--to takes unicode or legacy, not \"" + *value + "\"");
      }
      haveDirection = true;
    } else if (option == "--font") {
      const auto font = lk::convert::LegacyFontByName(*value);
      if (!font) return Wrong("unknown font \"" + *value + "\" (known: " + KnownFonts() + ")");
      parsed.options.font = *font;
    } else if (option == "--unicode-font") {
      std::string name = text::TrimBlanks(*value);
      if (!FontNameFits(name)) return Wrong("--unicode-font takes a font's name of 1 to 31 characters, not \"" + *value + "\"");
      parsed.unicodeFont = std::move(name);
    } else if (option == "-o") {
      if (parsed.output) return Wrong("-o is given twice");
      if (value->empty()) return Wrong("-o needs a file or folder name");
      parsed.output = *value;
    } else if (option == "--jobs") {
      const auto jobs = JobsValue(*value);
      if (!jobs) {
        return Wrong("--jobs takes a number from 1 to " + std::to_string(kMaxJobs) + ", not \"" + *value + "\"");
      }
      parsed.jobs = *jobs;
    } else {
      if (text::EqualsIgnoreCase(*value, "zwj")) {
        parsed.options.eyelash = Eyelash::kZwj;
      } else if (text::EqualsIgnoreCase(*value, "rra")) {
        parsed.options.eyelash = Eyelash::kRra;
      } else {
        return Wrong("--eyelash takes zwj or rra, not \"" + *value + "\"");
      }
    }
  }
  if (!haveDirection) return Wrong("say which way to convert with --to unicode or --to legacy");
  return {std::move(parsed), {}};
}

std::string ConvertUsage() {
  return "usage: " + std::string(kProgramName) +
         " --to unicode|legacy [--font NAME] [--unicode-font NAME] [--eyelash zwj|rra] [--strict] [-o OUT]"
         " [--jobs N] [--overwrite] [PATH...]";
}

bool Utf8Checker::Feed(std::string_view piece) {
  if (!ok_) return false;
  // Legacy-font text is nearly all ASCII and its lines are long: eight bytes
  // at a time pass unread when none of them starts a sequence or ends a line.
  // What is left, from start, goes to the decoder.
  constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  std::size_t start = 0;
  std::size_t pos = 0;
  while (piece.size() - pos >= 8) {
    std::uint64_t word;
    std::memcpy(&word, piece.data() + pos, sizeof word);
    const std::uint64_t lineFeeds = word ^ (kOnes * '\n');
    const bool plain = ((word | ((lineFeeds - kOnes) & ~lineFeeds)) & kHighBits) == 0;
    if (plain && start < pos && !Decode(piece.substr(start, pos - start))) return false;
    if (plain && !decoder_.holding()) {
      column_ += 8;
      start = pos + 8;
    } else if (plain) {
      start = pos;  // a sequence runs into ASCII: the decoder must see it end
    }
    pos += 8;
  }
  return Decode(piece.substr(start));
}

bool Utf8Checker::Decode(std::string_view bytes) {
  ok_ = decoder_.Feed(bytes, [this](char32_t c, bool valid) { return Count(c, valid); });
  return ok_;
}

bool Utf8Checker::Count(char32_t c, bool valid) {
  if (!valid) return false;
  if (c == '\n') {
    ++line_;
    column_ = 1;
  } else {
    ++column_;
  }
  return true;
}

bool Utf8Checker::Finish() {
  if (ok_) ok_ = decoder_.Finish([this](char32_t c, bool valid) { return Count(c, valid); });
  return ok_;
}

int RunConvert(std::span<const std::string> args, const ConvertIo& io) {
  const ParsedArgs parsed = ParseConvertArgs(args);
  if (!parsed.args) {
    io.err << kProgramName << ": " << parsed.error << '\n' << ConvertUsage() << '\n';
    return 2;
  }
  const ConvertArgs& options = *parsed.args;
  if (options.version) {
    io.out << kProgramName << ' ' << LK_VERSION << '\n';
    io.out.flush();
    return io.out ? 0 : 1;
  }
  if (options.help) {
    io.out << ConvertUsage() << "\n\n" << kHelp;
    io.out.flush();
    return io.out ? 0 : 1;
  }

  std::vector<std::string> texts;
  std::vector<std::string> documentPaths;
  for (const std::string& name : options.files) {
    (KindOf(name) == InputKind::kText ? texts : documentPaths).push_back(name);
  }
  if (options.files.empty()) texts.push_back("-");
  if (options.output && documentPaths.empty()) {
    io.err << kProgramName << ": -o names where documents go; text is written to standard output\n";
    return 2;
  }
  // Everything a document run will do is settled before any text is
  // written, so that a clash refuses the whole command.
  std::optional<DocumentPlan> plan;
  if (!documentPaths.empty()) {
    PlanResult planned = PlanDocuments({documentPaths, options.output, SettingsOf(options), options.overwrite});
    if (!planned.plan) {
      io.err << kProgramName << ": " << planned.error << "; nothing was written\n";
      return 2;
    }
    plan = std::move(planned.plan);
  }

  int status = 0;
  if (!texts.empty()) {
    status = ConvertTexts(texts, options, io);
    if (status == kCancelledStatus) return status;
  }
  if (plan) {
    const int documents = ConvertDocuments(*plan, options, io);
    if (documents == kCancelledStatus || documents == 1) return documents;
    if (status == 0) status = documents;
  }
  return status;
}

}  // namespace lk::cli
