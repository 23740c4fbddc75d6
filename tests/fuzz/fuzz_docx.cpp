// libFuzzer target for a whole Word document, file to file: fuzzed parts
// (document, styles, a header) are zipped into a package beside a picture,
// the package is optionally damaged by one byte, and ConvertDocumentFile
// runs on it. Whatever comes in, it either writes an output or throws a
// DocumentError; either way no temporary file remains. An output is a
// package with the input's parts in the input's order, the picture as it
// was; to Unicode, converting the output again changes no part.
//
// Input: byte 0 flags (bit 0: to legacy; bit 1: parts stored, not
// deflated; bit 2: after zipping, the byte at offset bytes 1-2 (little
// endian, modulo the size) is XORed with byte 3), then the document part,
// a NUL, the styles part, a NUL, the header part.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "documents/document_file.h"
#include "documents/package.h"
#include "fuzz_check.h"

using namespace lk::documents;
namespace fs = std::filesystem;

namespace {

const fs::path& Folder() {
  static const fs::path folder = [] {
    fs::path path = fs::temp_directory_path() / ("lk-fuzz-docx-" + std::to_string(::getpid()));
    fs::remove_all(path);
    fs::create_directories(path);
    return path;
  }();
  return folder;
}

constexpr char kTypes[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Default Extension=\"png\" ContentType=\"image/png\"/>"
    "<Override PartName=\"/word/document.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
    "<Override PartName=\"/word/styles.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
    "<Override PartName=\"/word/header1.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml\"/></Types>";
constexpr char kRels[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "officeDocument\" Target=\"word/document.xml\"/></Relationships>";
constexpr char kDocumentRels[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
    "Target=\"styles.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/header\" "
    "Target=\"header1.xml\"/></Relationships>";

const std::string& Picture() {
  static const std::string picture = [] {
    std::string bytes(3000, '\0');
    std::uint32_t seed = 16;
    for (char& c : bytes) c = static_cast<char>((seed = seed * 1664525u + 1013904223u) >> 24);
    return bytes;
  }();
  return picture;
}

std::vector<std::string> PartNames(PackageReader& reader) {
  std::vector<std::string> names;
  for (const PartInfo& part : reader.parts()) names.push_back(part.name);
  return names;
}

// Only the input and the outputs asked for: no temporary file, ever.
void CheckNothingElse(const std::vector<fs::path>& expected) {
  std::size_t count = 0;
  for (const auto& entry : fs::directory_iterator(Folder())) {
    ++count;
    bool known = false;
    for (const fs::path& path : expected) known = known || entry.path() == path;
    CHECK(known);
  }
  CHECK(count == expected.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::uint8_t flags = data[0];
  const std::string_view rest(reinterpret_cast<const char*>(data + 4), size - 4);
  std::string parts[3];
  std::size_t at = 0;
  for (int i = 0; i < 3; ++i) {
    const std::size_t nul = i < 2 ? rest.find('\0', at) : std::string_view::npos;
    parts[i] = std::string(rest.substr(at, nul == std::string_view::npos ? std::string_view::npos : nul - at));
    if (nul == std::string_view::npos) break;
    at = nul + 1;
  }

  const fs::path input = Folder() / "in.docx";
  const fs::path output = Folder() / "out.docx";
  const fs::path again = Folder() / "again.docx";
  const bool store = flags & 2;
  {
    PackageWriter writer(input);
    writer.Add("[Content_Types].xml", kTypes, store);
    writer.Add("_rels/.rels", kRels, store);
    writer.Add("word/document.xml", parts[0], store);
    writer.Add("word/_rels/document.xml.rels", kDocumentRels, store);
    writer.Add("word/styles.xml", parts[1], store);
    writer.Add("word/header1.xml", parts[2], store);
    writer.Add("word/media/image1.png", Picture(), store);
    writer.Finish();
  }
  if (flags & 4) {
    const auto fileSize = fs::file_size(input);
    std::FILE* file = std::fopen(input.c_str(), "r+b");
    CHECK(file);
    const long offset = static_cast<long>((data[1] | (data[2] << 8)) % fileSize);
    std::fseek(file, offset, SEEK_SET);
    const int byte = std::fgetc(file);
    std::fseek(file, offset, SEEK_SET);
    std::fputc(byte ^ data[3], file);
    std::fclose(file);
  }

  FileJob job;
  job.input = input;
  job.output = output;
  job.settings.direction = (flags & 1) ? lk::convert::Direction::kToLegacy : lk::convert::Direction::kToUnicode;
  job.limits.maxPartSize = 1 << 20;
  job.limits.maxTotalSize = 1 << 22;
  bool converted = false;
  try {
    ConvertDocumentFile(job);
    converted = true;
  } catch (const DocumentError& e) {
    CHECK(std::string_view(e.what()).size() > 0);
  }

  if (converted) {
    CheckNothingElse({input, output});
    PackageReader from(input, job.limits);
    PackageReader to(output, job.limits);
    CHECK(PartNames(from) == PartNames(to));
    CHECK(to.Read("word/media/image1.png") == from.Read("word/media/image1.png"));
    if (!(flags & 1)) {
      job.input = output;
      job.output = again;
      ConvertDocumentFile(job);  // what we wrote, we read
      PackageReader twice(again, job.limits);
      for (const PartInfo& part : to.parts()) CHECK(twice.Read(part.name) == to.Read(part.name));
    }
  } else {
    CheckNothingElse({input});
  }
  std::error_code ec;
  fs::remove(input, ec);
  fs::remove(output, ec);
  fs::remove(again, ec);
  return 0;
}
