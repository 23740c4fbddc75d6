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
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_package.h"

using namespace lk::documents;
using namespace lk::fuzz;

namespace {

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::uint8_t flags = data[0];
  const std::vector<std::string> parts =
      SplitParts(std::string_view(reinterpret_cast<const char*>(data + 4), size - 4), 3);

  const fs::path& folder = Folder("docx");
  const fs::path input = folder / "in.docx";
  const fs::path output = folder / "out.docx";
  const fs::path again = folder / "again.docx";
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
  if (flags & 4) DamageByte(input, data[1] | (data[2] << 8), data[3]);

  ConvertCheckAndClean(input, output, again, flags & 1, "word/media/image1.png");
  return 0;
}
