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

#include "convert/legacy_font.h"
#include "text/trim.h"
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

// Paths arrive as UTF-8 on every system; Windows needs them widened, and
// elsewhere the bytes are the name, whatever they hold.
fs::path PathOf(const std::string& name) {
#ifdef _WIN32
  return fs::path(std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size()));
#else
  return fs::path(name);
#endif
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

enum class Outcome { kConverted, kInputFailed, kOutputFailed };

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

    const fs::path path = PathOf(name);
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

    if (!Check(file, name, nullptr)) return Outcome::kInputFailed;
    file.clear();
    file.seekg(0);
    if (!file) return CannotRead(name, "it cannot be read a second time");
    return Convert(file, name);
  }

 private:
  Outcome FromUnrereadable(std::istream& in, std::string_view name) {
    Spool spool;
    std::string reason;
    if (!spool.Open(reason)) return CannotRead(name, reason);
    if (!Check(in, name, &spool.stream())) return Outcome::kInputFailed;
    spool.stream().flush();
    spool.stream().seekg(0);
    if (!spool.stream()) return CannotRead(name, "its temporary copy could not be written or read back");
    return Convert(spool.stream(), name);
  }

  Outcome CannotRead(std::string_view name, std::string_view reason) {
    io_.err << kProgramName << ": cannot read " << name << ": " << reason << '\n';
    return Outcome::kInputFailed;
  }

  // Reads all of in, copying it to spool when there is one; true when it is
  // UTF-8 throughout, else the fault is reported.
  bool Check(std::istream& in, std::string_view name, std::fstream* spool) {
    Utf8Checker checker;
    // Columns count from after a byte order mark, as the converter never sees it.
    ReadSome(in, buffer_, kBom.size());
    if (spool) spool->write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    if (buffer_ != kBom) checker.Feed(buffer_);
    while (checker.ok() && ReadSome(in, buffer_, io_.chunkSize) > 0) {
      checker.Feed(buffer_);
      if (spool) spool->write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    }
    if (in.bad()) {
      CannotRead(name, "a read failed");
      return false;
    }
    if (spool && !*spool) {
      CannotRead(name, "its temporary copy could not be written");
      return false;
    }
    if (!checker.ok() || !checker.Finish()) {
      io_.err << kProgramName << ": " << Place(name, checker.line(), checker.column())
              << ": not valid UTF-8; nothing of this file was written\n";
      return false;
    }
    return true;
  }

  Outcome Convert(std::istream& in, std::string_view name) {
    Converter converter(args_.direction, args_.options);
    ReadSome(in, buffer_, kBom.size());
    output_.clear();
    if (buffer_ != kBom) converter.Feed(buffer_, output_);
    while (ReadSome(in, buffer_, io_.chunkSize) > 0) {
      converter.Feed(buffer_, output_);
      if (!Write()) return Outcome::kOutputFailed;
    }
    if (in.bad()) return CannotRead(name, "a read failed");
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
  std::string output_;
};

constexpr std::string_view kHelp =
    "Converts text between a legacy Nepali font's encoding and Unicode.\n"
    "\n"
    "  --to unicode        legacy-font text in, Unicode Devanagari out\n"
    "  --to legacy         Unicode Devanagari in, legacy-font text out\n"
    "  --font NAME         the legacy font family (default Preeti; case, blanks, '-' and '_'\n"
    "                      do not matter)\n"
    "  --eyelash zwj|rra   write eyelash RA as RA, VIRAMA, ZWJ (default) or as RRA, VIRAMA\n"
    "  --strict            exit with status 3 when a character had no equivalent\n"
    "  --version           print the program's version\n"
    "\n"
    "Reads the files in turn, or standard input when there are none or for \"-\"; input is\n"
    "UTF-8 (a leading byte order mark is dropped) and legacy text is the Windows-1252\n"
    "reading of the font codes. Writes UTF-8 to standard output, line breaks unchanged.\n"
    "A file that cannot be read or is not UTF-8 is reported and skipped, nothing of it\n"
    "written, and the exit status is 1.\n";

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
    std::string option = arg;
    std::optional<std::string> value;
    if (const auto equals = arg.find('='); equals != std::string::npos) {
      option = arg.substr(0, equals);
      value = arg.substr(equals + 1);
    }
    if (option == "--strict" || option == "--help" || option == "--version") {
      return Wrong(option + " takes no value");
    }
    if (option != "--to" && option != "--font" && option != "--eyelash") {
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
         " --to unicode|legacy [--font NAME] [--eyelash zwj|rra] [--strict] [FILE...]";
}

void Utf8Checker::Fail() {
  ok_ = false;
  pending_ = 0;
}

bool Utf8Checker::Feed(std::string_view piece) {
  if (!ok_) return false;
  const char* const end = piece.data() + piece.size();
  for (const char* at = piece.data(); at != end; ++at) {
    // Legacy-font text is nearly all ASCII and its lines are long: eight bytes
    // at a time when none of them starts a sequence or ends a line.
    if (pending_ == 0) {
      constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
      constexpr std::uint64_t kOnes = 0x0101010101010101ull;
      while (end - at >= 8) {
        std::uint64_t word;
        std::memcpy(&word, at, sizeof word);
        const std::uint64_t lineFeeds = word ^ (kOnes * '\n');
        if (((word | ((lineFeeds - kOnes) & ~lineFeeds)) & kHighBits) != 0) break;
        column_ += 8;
        at += 8;
      }
      if (at == end) break;
    }
    const auto byte = static_cast<unsigned char>(*at);
    if (pending_ > 0) {
      if (byte < low_ || byte > high_) {
        Fail();
        return false;
      }
      low_ = 0x80;
      high_ = 0xBF;
      if (--pending_ == 0) ++column_;
      continue;
    }
    if (byte < 0x80) {
      if (byte == '\n') {
        ++line_;
        column_ = 1;
      } else {
        ++column_;
      }
      continue;
    }
    // The first continuation byte's range rules out overlong forms, surrogates
    // and values past U+10FFFF; the rest take any continuation byte.
    if (byte >= 0xC2 && byte <= 0xDF) {
      pending_ = 1;
    } else if (byte == 0xE0) {
      pending_ = 2, low_ = 0xA0;
    } else if (byte == 0xED) {
      pending_ = 2, high_ = 0x9F;
    } else if (byte >= 0xE1 && byte <= 0xEF) {
      pending_ = 2;
    } else if (byte == 0xF0) {
      pending_ = 3, low_ = 0x90;
    } else if (byte >= 0xF1 && byte <= 0xF3) {
      pending_ = 3;
    } else if (byte == 0xF4) {
      pending_ = 3, high_ = 0x8F;
    } else {
      Fail();
      return false;
    }
  }
  return true;
}

bool Utf8Checker::Finish() {
  if (ok_ && pending_ > 0) Fail();
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

  std::vector<std::string> files = options.files;
  if (files.empty()) files.push_back("-");
  Totals totals;
  FileConverter converter(options, io, totals);
  int status = 0;
  for (const std::string& name : files) {
    const Outcome outcome = converter.Run(name);
    if (outcome == Outcome::kOutputFailed) {
      io.err << kProgramName << ": cannot write the output\n";
      return 1;
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

}  // namespace lk::cli
