#include "documents/document_file.h"

#include <cerrno>
#include <system_error>

#include "convert/legacy_font.h"
#include "documents/docx.h"
#include "documents/format_extensions.h"
#include "documents/file_io.h"
#include "documents/odf.h"
#include "documents/office_parts.h"
#include "documents/package.h"
#include "documents/sheets_and_slides.h"
#include "documents/rtf.h"
#include "documents/temporary_output.h"

namespace lk::documents {

namespace fs = std::filesystem;

namespace {

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

fs::path FromUtf8(std::string_view text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::string AsciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string SystemMessage(int error) { return std::generic_category().message(error); }

// A whole .rtf, read only as far as the limit allows.
std::string ReadBounded(const fs::path& path, std::uint64_t limit) {
  FileHandle file(OpenFile(path, "rb"));
  if (!file) throw DocumentError("the file cannot be opened: " + SystemMessage(errno));
  std::string text;
  char buffer[64 * 1024];
  for (;;) {
    std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    if (got == 0) break;
    if (text.size() + got > limit)
      throw DocumentError("the file is larger than the limit of " + std::to_string(limit >> 20) + " MiB");
    text.append(buffer, got);
  }
  if (std::ferror(file.get())) throw DocumentError("the file cannot be read: " + SystemMessage(errno));
  return text;
}

void WriteWhole(const fs::path& path, std::string_view bytes) {
  FileHandle file(OpenFile(path, "wb"));
  if (!file) throw DocumentError("the output cannot be created: " + SystemMessage(errno));
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
    throw DocumentError("the output could not be written: " + SystemMessage(errno));
  if (std::fclose(file.release()) != 0) throw DocumentError("the output could not be written: " + SystemMessage(errno));
}

// The input must stay as it was and an existing output needs leave to go.
// Checked before any work; publishing checks the last part again, without
// a window between check and rename.
void CheckPaths(const FileJob& job) {
  std::error_code ec;
  const fs::file_status input = fs::status(job.input, ec);
  if (!fs::exists(input)) throw DocumentError("the file does not exist");
  if (!fs::is_regular_file(input)) throw DocumentError("this is not a file");
  if (job.output.empty()) throw DocumentError("no output file was named");
  const fs::file_status output = fs::status(job.output, ec);
  if (!fs::exists(output)) return;
  if (fs::equivalent(job.input, job.output, ec)) throw DocumentError("the output would be the input file itself");
  if (fs::is_directory(output)) throw DocumentError("the output is a folder");
  if (!job.overwrite) throw DocumentError("the output file already exists");
}

}  // namespace

std::optional<Format> FormatOf(const fs::path& path) {
  const std::string ext = AsciiLower(Utf8(path.extension()));
  for (const auto& entry : kFormatExtensions)
    if (ext == entry.extension) return entry.format;
  return std::nullopt;
}

fs::path DefaultOutputPath(const fs::path& input, const ConvertSettings& settings) {
  const std::string label = settings.direction == convert::Direction::kToUnicode
                                ? std::string("Unicode")
                                : std::string(convert::LegacyFontName(settings.options.font));
  fs::path name = input.stem();
  name += FromUtf8(" (" + label + ")");
  name += input.extension();
  return input.parent_path() / name;
}

bool IsOwnOutputOrLockFile(const fs::path& path) {
  const std::string name = Utf8(path.filename());
  if (name.starts_with("~$")) return true;
  if (name.starts_with(kTemporaryPrefix) && name.ends_with(kTemporarySuffix)) return true;
  const std::string stem = Utf8(path.stem());
  if (!stem.ends_with(')')) return false;
  const std::size_t open = stem.rfind('(');
  if (open == std::string::npos) return false;
  const std::string label = stem.substr(open + 1, stem.size() - open - 2);
  return AsciiLower(label) == "unicode" || convert::LegacyFontByName(label).has_value();
}

Tally ConvertDocumentFile(const FileJob& job) {
  const std::optional<Format> format = FormatOf(job.input);
  if (!format) throw DocumentError(
        "this kind of file is not a document Lekhopakar converts (.docx .docm .dotx .xlsx .xlsm .pptx .pptm .odt .ods "
        ".odp .rtf)");
  ThrowIfCancelled(job.cancel);
  CheckPaths(job);
  const fs::path folder = job.output.parent_path();

  if (*format == Format::kRtf) {
    if (StartsLikeOleFile(job.input))
      throw DocumentError("this is a .doc file or a password-protected document: save it as .docx in Word first");
    const std::string text = ReadBounded(job.input, job.limits.maxPartSize);
    RtfLimits limits;
    limits.maxSize = job.limits.maxPartSize;
    const RtfResult result = ConvertRtf(text, job.settings, limits);
    ThrowIfCancelled(job.cancel);
    TemporaryOutput temporary(folder);
    WriteWhole(temporary.path(), result.rtf);
    ThrowIfCancelled(job.cancel);
    temporary.Publish(job.output, job.overwrite);
    return result.tally;
  }

  // The input is opened first, so that a file we cannot read costs no
  // write at all.
  PackageReader reader(job.input, job.limits);
  TemporaryOutput temporary(folder);
  Tally tally;
  {
    PackageWriter writer(temporary.path());
    switch (*format) {
      case Format::kDocx: ConvertDocx(reader, writer, job.settings, tally, job.cancel); break;
      case Format::kXlsx: ConvertXlsx(reader, writer, job.settings, tally, job.cancel); break;
      case Format::kPptx: ConvertPptx(reader, writer, job.settings, tally, job.cancel); break;
      case Format::kOdt:
      case Format::kOds:
      case Format::kOdp: ConvertOpenDocument(reader, writer, job.settings, tally, job.cancel); break;
      case Format::kRtf: break;  // converted above, never a package
    }
    ThrowIfCancelled(job.cancel);
    writer.Finish();
  }
  ThrowIfCancelled(job.cancel);
  temporary.Publish(job.output, job.overwrite);
  return tally;
}

}  // namespace lk::documents
