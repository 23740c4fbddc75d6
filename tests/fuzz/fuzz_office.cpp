// libFuzzer target for whole workbooks, decks and OpenDocument files, file to
// file: three fuzzed parts are zipped into a package of the chosen format
// beside a picture, the package is maybe damaged by one byte, and
// ConvertDocumentFile runs on it, with the checks every whole-file
// conversion keeps (see fuzz_package.h).
//
// Input: byte 0 flags (bit 0: to legacy; bit 1: parts stored, not deflated;
// bit 2: after zipping, the byte at offset bytes 1-2 (little endian, modulo
// the size) is XORed with byte 3), byte 4 the format (modulo 5: xlsx, pptx,
// odt, ods, odp), then three parts separated by NULs:
//   xlsx  the sheet, the shared strings, the style sheet (beside a table
//         and a chart that repeat the sheet's cells)
//   pptx  the slide, the slide master, the theme
//   odf   content.xml, styles.xml, an embedded chart's content.xml
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_package.h"

using namespace lk::documents;
using namespace lk::fuzz;

namespace {

constexpr char kXmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr char kOoxmlType[] = "application/vnd.openxmlformats-officedocument.";
constexpr char kRelationshipType[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string ContentTypes(const std::vector<std::pair<std::string, std::string>>& overrides) {
  std::string xml = std::string(kXmlDeclaration) +
                    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                    "<Default Extension=\"png\" ContentType=\"image/png\"/>";
  for (const auto& [part, type] : overrides)
    xml += "<Override PartName=\"/" + part + "\" ContentType=\"" + kOoxmlType + type + "\"/>";
  return xml + "</Types>";
}

// Relationships rId1, rId2, ... of the given types and targets.
std::string Relationships(const std::vector<std::pair<std::string, std::string>>& targets) {
  std::string xml = std::string(kXmlDeclaration) +
                    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  int id = 0;
  for (const auto& [type, target] : targets)
    xml += "<Relationship Id=\"rId" + std::to_string(++id) + "\" Type=\"" + kRelationshipType + type +
           "\" Target=\"" + target + "\"/>";
  return xml + "</Relationships>";
}

struct Entry {
  std::string name, content;
};

std::vector<Entry> Workbook(std::vector<std::string>& parts) {
  return {
      {"[Content_Types].xml", ContentTypes({{"xl/workbook.xml", "spreadsheetml.sheet.main+xml"},
                                            {"xl/worksheets/sheet1.xml", "spreadsheetml.worksheet+xml"},
                                            {"xl/sharedStrings.xml", "spreadsheetml.sharedStrings+xml"},
                                            {"xl/styles.xml", "spreadsheetml.styles+xml"},
                                            {"xl/tables/table1.xml", "spreadsheetml.table+xml"},
                                            {"xl/charts/chart1.xml", "drawingml.chart+xml"}})},
      {"_rels/.rels", Relationships({{"officeDocument", "xl/workbook.xml"}})},
      {"xl/workbook.xml", std::string(kXmlDeclaration) +
                              "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                              "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                              "<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels", Relationships({{"worksheet", "worksheets/sheet1.xml"},
                                                    {"sharedStrings", "sharedStrings.xml"},
                                                    {"styles", "styles.xml"}})},
      {"xl/worksheets/sheet1.xml", std::move(parts[0])},
      {"xl/worksheets/_rels/sheet1.xml.rels", Relationships({{"table", "../tables/table1.xml"}})},
      // A table and a chart that repeat the fuzzed sheet's cells.
      {"xl/tables/table1.xml",
       std::string(kXmlDeclaration) +
           "<table xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" id=\"1\" name=\"T\" "
           "displayName=\"T\" ref=\"A1:C2\" totalsRowCount=\"1\"><autoFilter ref=\"A1:C1\"/>"
           "<tableColumns count=\"3\"><tableColumn id=\"1\" name=\"g]kfn\" totalsRowLabel=\";/sf/\"/>"
           "<tableColumn id=\"2\" name=\"g]kfn\"/><tableColumn id=\"3\" name=\"C\"/></tableColumns></table>"},
      {"xl/charts/chart1.xml",
       std::string(kXmlDeclaration) +
           "<c:chartSpace xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
           "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><c:chart><c:plotArea><c:barChart>"
           "<c:ser><c:tx><c:strRef><c:f>S!$A$1</c:f><c:strCache><c:ptCount val=\"1\"/><c:pt idx=\"0\">"
           "<c:v>g]kfn</c:v></c:pt></c:strCache></c:strRef></c:tx><c:cat><c:strRef><c:f>'S'!$A$1:$C$1</c:f>"
           "<c:strCache><c:ptCount val=\"3\"/><c:pt idx=\"0\"><c:v>g]kfn</c:v></c:pt><c:pt idx=\"2\"><c:v>C</c:v>"
           "</c:pt></c:strCache></c:strRef></c:cat></c:ser></c:barChart></c:plotArea></c:chart><c:txPr>"
           "<a:bodyPr/><a:p><a:pPr><a:defRPr><a:latin typeface=\"Preeti\"/></a:defRPr></a:pPr></a:p></c:txPr>"
           "</c:chartSpace>"},
      {"xl/sharedStrings.xml", std::move(parts[1])},
      {"xl/styles.xml", std::move(parts[2])},
  };
}

std::vector<Entry> Deck(std::vector<std::string>& parts) {
  const std::string namespaces =
      "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
      "xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\"";
  return {
      {"[Content_Types].xml", ContentTypes({{"ppt/presentation.xml", "presentationml.presentation.main+xml"},
                                            {"ppt/slides/slide1.xml", "presentationml.slide+xml"},
                                            {"ppt/slideLayouts/slideLayout1.xml", "presentationml.slideLayout+xml"},
                                            {"ppt/slideMasters/slideMaster1.xml", "presentationml.slideMaster+xml"},
                                            {"ppt/theme/theme1.xml", "theme+xml"}})},
      {"_rels/.rels", Relationships({{"officeDocument", "ppt/presentation.xml"}})},
      {"ppt/presentation.xml", std::string(kXmlDeclaration) + "<p:presentation " + namespaces +
                                   "><p:sldMasterIdLst><p:sldMasterId id=\"2147483648\" r:id=\"rId1\"/>"
                                   "</p:sldMasterIdLst><p:sldIdLst><p:sldId id=\"256\" r:id=\"rId2\"/></p:sldIdLst>"
                                   "</p:presentation>"},
      {"ppt/_rels/presentation.xml.rels", Relationships({{"slideMaster", "slideMasters/slideMaster1.xml"},
                                                         {"slide", "slides/slide1.xml"},
                                                         {"theme", "theme/theme1.xml"}})},
      {"ppt/slides/slide1.xml", std::move(parts[0])},
      {"ppt/slides/_rels/slide1.xml.rels", Relationships({{"slideLayout", "../slideLayouts/slideLayout1.xml"}})},
      {"ppt/slideLayouts/slideLayout1.xml", std::string(kXmlDeclaration) + "<p:sldLayout " + namespaces +
                                                "><p:cSld><p:spTree/></p:cSld></p:sldLayout>"},
      {"ppt/slideLayouts/_rels/slideLayout1.xml.rels",
       Relationships({{"slideMaster", "../slideMasters/slideMaster1.xml"}})},
      {"ppt/slideMasters/slideMaster1.xml", std::move(parts[1])},
      {"ppt/slideMasters/_rels/slideMaster1.xml.rels",
       Relationships({{"slideLayout", "../slideLayouts/slideLayout1.xml"}, {"theme", "../theme/theme1.xml"}})},
      {"ppt/theme/theme1.xml", std::move(parts[2])},
  };
}

std::vector<Entry> OpenDocument(std::vector<std::string>& parts, const std::string& kind) {
  const std::string manifest =
      std::string(kXmlDeclaration) +
      "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
      "manifest:version=\"1.3\">"
      "<manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"application/vnd.oasis.opendocument." +
      kind +
      "\"/>"
      "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
      "<manifest:file-entry manifest:full-path=\"styles.xml\" manifest:media-type=\"text/xml\"/>"
      "<manifest:file-entry manifest:full-path=\"Object 1/\" "
      "manifest:media-type=\"application/vnd.oasis.opendocument.chart\"/>"
      "<manifest:file-entry manifest:full-path=\"Object 1/content.xml\" manifest:media-type=\"text/xml\"/>"
      "<manifest:file-entry manifest:full-path=\"Pictures/image1.png\" manifest:media-type=\"image/png\"/>"
      "</manifest:manifest>";
  return {
      {"mimetype", "application/vnd.oasis.opendocument." + kind},
      {"content.xml", std::move(parts[0])},
      {"styles.xml", std::move(parts[1])},
      {"Object 1/content.xml", std::move(parts[2])},
      {"META-INF/manifest.xml", manifest},
  };
}

struct Format {
  const char* extension;
  const char* picture;  // where the package keeps its picture
};

constexpr Format kFormats[] = {{".xlsx", "xl/media/image1.png"},
                               {".pptx", "ppt/media/image1.png"},
                               {".odt", "Pictures/image1.png"},
                               {".ods", "Pictures/image1.png"},
                               {".odp", "Pictures/image1.png"}};

std::vector<Entry> Package(std::size_t format, std::vector<std::string>& parts) {
  switch (format) {
    case 0:
      return Workbook(parts);
    case 1:
      return Deck(parts);
    case 2:
      return OpenDocument(parts, "text");
    case 3:
      return OpenDocument(parts, "spreadsheet");
    default:
      return OpenDocument(parts, "presentation");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const std::uint8_t flags = data[0];
  const std::size_t format = data[4] % std::size(kFormats);
  std::vector<std::string> parts =
      SplitParts(std::string_view(reinterpret_cast<const char*>(data + 5), size - 5), 3);

  const fs::path& folder = Folder("office");
  const std::string extension = kFormats[format].extension;
  const fs::path input = folder / ("in" + extension);
  const fs::path output = folder / ("out" + extension);
  const fs::path again = folder / ("again" + extension);
  const bool store = flags & 2;
  {
    PackageWriter writer(input);
    for (const Entry& entry : Package(format, parts))
      writer.Add(entry.name, entry.content, store || entry.name == "mimetype");  // OpenDocument's rule
    writer.Add(kFormats[format].picture, Picture(), store);
    writer.Finish();
  }
  if (flags & 4) DamageByte(input, data[1] | (data[2] << 8), data[3]);

  ConvertCheckAndClean(input, output, again, flags & 1, kFormats[format].picture);
  return 0;
}
