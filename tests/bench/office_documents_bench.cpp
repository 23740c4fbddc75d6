// scripts/bench-office-documents: a text-heavy workbook, deck, OpenDocument
// text, spreadsheet and presentation, written here, then copied bare
// (every part inflated and deflated again, as any rewrite of the zip must),
// copied with every XML part parsed and printed on the way (the least a
// conversion through a parsed tree can cost), or converted. The CPU time (user + system) and the wall time of the work
// alone are printed in seconds; the script measures the process as a whole.
//   lk_office_documents_bench make-sheet|make-ods PATH ROWS
//   lk_office_documents_bench make-deck|make-odp PATH SLIDES
//   lk_office_documents_bench make-odt PATH PARAGRAPHS
//   lk_office_documents_bench copy|reparse|convert IN OUT
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <string>

#include "documents/document_file.h"
#include "documents/odf.h"
#include "documents/package.h"
#include "documents/sheets_and_slides.h"
#include "support/odf_namespaces.h"
#include "documents/xml_part.h"

namespace {

using namespace lk::documents;

// Preeti words, some split mid-syllable between runs as typists' files are.
constexpr const char* kWords[] = {"g]kfn", ";/sf/", "sfo{no", "lhNnf", "k|b]z", "dGqfno", "ljsf;", "of]hgf"};
constexpr char kNs[] = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
constexpr char kDrawing[] =
    R"(xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" )"
    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" )"
    R"(xmlns:p="http://schemas.openxmlformats.org/presentationml/2006/main")";

std::string Sentence(unsigned seed, int words) {
  std::string text;
  for (int i = 0; i < words; ++i) {
    if (i) text += ' ';
    text += kWords[(seed + static_cast<unsigned>(i) * 7) % 8];
  }
  return text;
}

std::string Relationships(const std::string& entries) {
  return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)" +
         entries + "</Relationships>";
}

std::string Relationship(int id, const std::string& type, const std::string& target) {
  return "<Relationship Id=\"rId" + std::to_string(id) +
         "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + type + "\" Target=\"" +
         target + "\"/>";
}

std::string Types(const std::string& overrides) {
  return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
         R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
         R"(<Default Extension="xml" ContentType="application/xml"/>)" +
         overrides + "</Types>";
}

std::string Override(const std::string& part, const std::string& type) {
  return "<Override PartName=\"/" + part + "\" ContentType=\"application/vnd.openxmlformats-officedocument." + type +
         "\"/>";
}

// Rows of a Preeti name, an Arial label, a Preeti note of mixed runs and
// a number; one shared string in three is used by a Preeti and an Arial
// cell at once.
void MakeSheet(const std::filesystem::path& path, int rows) {
  PackageWriter writer(path);
  writer.Add("[Content_Types].xml", Types(Override("xl/workbook.xml", "spreadsheetml.sheet.main+xml") +
                                          Override("xl/worksheets/sheet1.xml", "spreadsheetml.worksheet+xml") +
                                          Override("xl/styles.xml", "spreadsheetml.styles+xml") +
                                          Override("xl/sharedStrings.xml", "spreadsheetml.sharedStrings+xml")));
  writer.Add("_rels/.rels", Relationships(Relationship(1, "officeDocument", "xl/workbook.xml")));
  writer.Add("xl/workbook.xml", std::string("<workbook ") + kNs +
                                    R"(><sheets><sheet name="Sheet1" sheetId="1" r:id="rId1" )"
                                    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"/>)"
                                    "</sheets></workbook>");
  writer.Add("xl/_rels/workbook.xml.rels",
             Relationships(Relationship(1, "worksheet", "worksheets/sheet1.xml") + Relationship(2, "styles", "styles.xml") +
                           Relationship(3, "sharedStrings", "sharedStrings.xml")));
  writer.Add("xl/styles.xml", std::string("<styleSheet ") + kNs +
                                  R"(><fonts count="3"><font><sz val="11"/><name val="Calibri"/></font>)"
                                  R"(<font><sz val="12"/><name val="Preeti"/></font><font><sz val="11"/><name val="Arial"/></font>)"
                                  R"(</fonts><cellXfs count="3"><xf fontId="0"/><xf fontId="1" applyFont="1"/>)"
                                  R"(<xf fontId="2" applyFont="1"/></cellXfs></styleSheet>)");
  std::string sheet = std::string("<worksheet ") + kNs + "><sheetData>";
  std::string strings;
  int items = 0, uses = 0;
  for (int row = 1; row <= rows; ++row) {
    const std::string r = std::to_string(row);
    const int name = items++;
    strings += "<si><t>" + Sentence(static_cast<unsigned>(row), 3) + "</t></si>";
    const int note = items++;
    strings += R"(<si><r><rPr><rFont val="Preeti"/></rPr><t xml:space="preserve">)" +
               Sentence(static_cast<unsigned>(row) * 3, 6) + R"( l</t></r><r><rPr><rFont val="Preeti"/></rPr><t>stfa</t></r>)"
               R"(<r><rPr><rFont val="Arial"/></rPr><t xml:space="preserve"> ref )" + r + "</t></r></si>";
    sheet += "<row r=\"" + r + "\"><c r=\"A" + r + "\" s=\"1\" t=\"s\"><v>" + std::to_string(name) + "</v></c>";
    // Every third name is shown in an Arial cell too: it must be split.
    const std::string labelItem = row % 3 == 0 ? std::to_string(name) : std::to_string(note);
    sheet += "<c r=\"B" + r + "\" s=\"2\" t=\"s\"><v>" + labelItem + "</v></c>";
    sheet += "<c r=\"C" + r + "\" s=\"1\" t=\"s\"><v>" + std::to_string(note) + "</v></c>";
    sheet += "<c r=\"D" + r + "\" s=\"1\"><v>" + std::to_string(row * 17) + "</v></c></row>";
    uses += 3;
  }
  sheet += "</sheetData></worksheet>";
  writer.Add("xl/worksheets/sheet1.xml", sheet);
  writer.Add("xl/sharedStrings.xml", std::string("<sst ") + kNs + " count=\"" + std::to_string(uses) +
                                         "\" uniqueCount=\"" + std::to_string(items) + "\">" + strings + "</sst>");
  writer.Finish();
}

std::string Shape(int id, const std::string& placeholder, const std::string& paragraphs) {
  return "<p:sp><p:nvSpPr><p:cNvPr id=\"" + std::to_string(id) + "\" name=\"S\"/><p:cNvSpPr/><p:nvPr>" + placeholder +
         "</p:nvPr></p:nvSpPr><p:spPr/><p:txBody><a:bodyPr/><a:lstStyle/>" + paragraphs + "</p:txBody></p:sp>";
}

std::string Tree(const std::string& shapes) {
  return R"(<p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id="1" name=""/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr>)"
         "<p:grpSpPr/>" + shapes + "</p:spTree></p:cSld>";
}

std::string Run(const std::string& text) { return R"(<a:r><a:rPr lang="en-US" dirty="0"/><a:t>)" + text + "</a:t></a:r>"; }

// Slides whose runs name no font: Preeti comes from the master's styles.
void MakeDeck(const std::filesystem::path& path, int slides) {
  PackageWriter writer(path);
  std::string overrides = Override("ppt/presentation.xml", "presentationml.presentation.main+xml") +
                          Override("ppt/slideMasters/slideMaster1.xml", "presentationml.slideMaster+xml") +
                          Override("ppt/slideLayouts/slideLayout1.xml", "presentationml.slideLayout+xml") +
                          Override("ppt/theme/theme1.xml", "theme+xml");
  for (int s = 1; s <= slides; ++s)
    overrides += Override("ppt/slides/slide" + std::to_string(s) + ".xml", "presentationml.slide+xml");
  writer.Add("[Content_Types].xml", Types(overrides));
  writer.Add("_rels/.rels", Relationships(Relationship(1, "officeDocument", "ppt/presentation.xml")));
  writer.Add("ppt/presentation.xml", std::string("<p:presentation ") + kDrawing + "/>");
  std::string presentationRels = Relationship(1, "slideMaster", "slideMasters/slideMaster1.xml");
  for (int s = 1; s <= slides; ++s)
    presentationRels += Relationship(s + 1, "slide", "slides/slide" + std::to_string(s) + ".xml");
  writer.Add("ppt/_rels/presentation.xml.rels", Relationships(presentationRels));
  writer.Add("ppt/theme/theme1.xml",
             R"(<a:theme xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" name="T"><a:themeElements>)"
             R"(<a:fontScheme name="F"><a:majorFont><a:latin typeface="Calibri Light"/></a:majorFont><a:minorFont>)"
             R"(<a:latin typeface="Calibri"/></a:minorFont></a:fontScheme></a:themeElements></a:theme>)");
  const std::string preeti = R"(<a:lvl1pPr><a:defRPr><a:latin typeface="Preeti"/></a:defRPr></a:lvl1pPr>)";
  writer.Add("ppt/slideMasters/slideMaster1.xml",
             std::string("<p:sldMaster ") + kDrawing + ">" +
                 Tree(Shape(2, R"(<p:ph type="title"/>)", "<a:p/>") + Shape(3, R"(<p:ph type="body" idx="1"/>)", "<a:p/>")) +
                 "<p:txStyles><p:titleStyle>" + preeti + "</p:titleStyle><p:bodyStyle>" + preeti +
                 "</p:bodyStyle><p:otherStyle/></p:txStyles></p:sldMaster>");
  writer.Add("ppt/slideMasters/_rels/slideMaster1.xml.rels",
             Relationships(Relationship(1, "slideLayout", "../slideLayouts/slideLayout1.xml") +
                           Relationship(2, "theme", "../theme/theme1.xml")));
  writer.Add("ppt/slideLayouts/slideLayout1.xml",
             std::string("<p:sldLayout ") + kDrawing + ">" +
                 Tree(Shape(2, R"(<p:ph type="title"/>)", "<a:p/>") + Shape(3, R"(<p:ph idx="1"/>)", "<a:p/>")) +
                 "</p:sldLayout>");
  writer.Add("ppt/slideLayouts/_rels/slideLayout1.xml.rels",
             Relationships(Relationship(1, "slideMaster", "../slideMasters/slideMaster1.xml")));
  for (int s = 1; s <= slides; ++s) {
    std::string body;
    for (int p = 0; p < 12; ++p)
      body += "<a:p>" + Run(Sentence(static_cast<unsigned>(s * 13 + p), 8) + " l") + Run("stfa") +
              R"(<a:r><a:rPr lang="en-US"><a:latin typeface="Arial"/></a:rPr><a:t> Item )" + std::to_string(p) +
              "</a:t></a:r></a:p>";
    const std::string name = "ppt/slides/slide" + std::to_string(s) + ".xml";
    writer.Add(name, std::string("<p:sld ") + kDrawing + ">" +
                         Tree(Shape(2, R"(<p:ph type="title"/>)", "<a:p>" + Run(Sentence(static_cast<unsigned>(s), 4)) + "</a:p>") +
                              Shape(3, R"(<p:ph idx="1"/>)", body)) +
                         "</p:sld>");
    writer.Add("ppt/slides/_rels/slide" + std::to_string(s) + ".xml.rels",
               Relationships(Relationship(1, "slideLayout", "../slideLayouts/slideLayout1.xml")));
  }
  writer.Finish();
}

// OpenDocument: Preeti declared once, reached through a paragraph style in
// styles.xml, a cell style, a master page's outline style, and split spans.
using lk::testing::kOdfNamespaces;

constexpr char kOdfFonts[] =
    R"(<office:font-face-decls><style:font-face style:name="Preeti1" svg:font-family="'Preeti'"/>)"
    R"(<style:font-face style:name="Liberation Sans" svg:font-family="'Liberation Sans'"/></office:font-face-decls>)";

std::string OdfStyle(const std::string& name, const char* family, const std::string& properties) {
  return R"(<style:style style:name=")" + name + R"(" style:family=")" + family + R"("><style:text-properties )" +
         properties + "/></style:style>";
}

// The spans every OpenDocument case writes: a Preeti span, one whose i-kar
// went to the span before, and an English one.
std::string OdfSpans(unsigned seed, int words, int index) {
  return Sentence(seed, words) + R"( l<text:span text:style-name="T1">stfa</text:span>)"
                                 R"(<text:span text:style-name="T2"> Item )" + std::to_string(index) + "</text:span>";
}

std::string OdfAutomatic(const std::string& more = "") {
  return "<office:automatic-styles>" + OdfStyle("T1", "text", R"(style:font-name="Preeti1" fo:font-weight="bold")") +
         OdfStyle("T2", "text", R"(style:font-name="Liberation Sans")") + more + "</office:automatic-styles>";
}

void WriteOdf(const std::filesystem::path& path, const char* kind, const std::string& body,
              const std::string& automatic, const std::string& styles, const std::string& masters) {
  const std::string media = std::string("application/vnd.oasis.opendocument.") + kind;
  PackageWriter writer(path);
  writer.Add("mimetype", media, true);
  writer.Add("content.xml", std::string(R"(<?xml version="1.0" encoding="UTF-8"?><office:document-content)") +
                                kOdfNamespaces + R"( office:version="1.3">)" + kOdfFonts + automatic +
                                "<office:body><office:" + kind + ">" + body + "</office:" + kind +
                                "></office:body></office:document-content>");
  writer.Add("styles.xml", std::string(R"(<?xml version="1.0" encoding="UTF-8"?><office:document-styles)") +
                               kOdfNamespaces + R"( office:version="1.3">)" + kOdfFonts + "<office:styles>" + styles +
                               "</office:styles><office:master-styles>" + masters +
                               "</office:master-styles></office:document-styles>");
  writer.Add("META-INF/manifest.xml",
             R"(<?xml version="1.0" encoding="UTF-8"?><manifest:manifest )"
             R"(xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.3">)"
             R"(<manifest:file-entry manifest:full-path="/" manifest:media-type=")" + media + R"("/>)"
             R"(<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>)"
             R"(<manifest:file-entry manifest:full-path="styles.xml" manifest:media-type="text/xml"/>)"
             "</manifest:manifest>");
  writer.Finish();
}

// Paragraphs in a Preeti paragraph style with split spans, a Preeti header.
void MakeOdt(const std::filesystem::path& path, int paragraphs) {
  std::string body;
  for (int p = 0; p < paragraphs; ++p)
    body += R"(<text:p text:style-name="Nepali">)" + OdfSpans(static_cast<unsigned>(p), 10, p) + "</text:p>";
  WriteOdf(path, "text", body, OdfAutomatic(), OdfStyle("Nepali", "paragraph", R"(style:font-name="Preeti1")"),
           R"(<style:master-page style:name="Standard"><style:header><text:p text:style-name="Nepali">)" +
               Sentence(1, 4) + "</text:p></style:header></style:master-page>");
}

// Rows of a Preeti name, an English label, a Preeti note of split spans
// in a column whose default cell style is Preeti, and a number.
void MakeOds(const std::filesystem::path& path, int rows) {
  std::string body = R"(<table:table table:name="Sheet1"><table:table-column table:default-cell-style-name="ce1"/>)"
                     R"(<table:table-column table:default-cell-style-name="ce2"/>)"
                     R"(<table:table-column table:default-cell-style-name="ce1" table:number-columns-repeated="2"/>)";
  for (int row = 1; row <= rows; ++row) {
    const auto seed = static_cast<unsigned>(row);
    body += R"(<table:table-row><table:table-cell office:value-type="string"><text:p>)" + Sentence(seed, 3) +
            R"(</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>Label )" +
            std::to_string(row) + R"(</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>)" +
            OdfSpans(seed * 3, 6, row) + R"(</text:p></table:table-cell><table:table-cell office:value-type="float" )"
            R"(office:value=")" + std::to_string(row * 17) + R"("><text:p>)" + std::to_string(row * 17) +
            "</text:p></table:table-cell></table:table-row>";
  }
  body += "</table:table>";
  WriteOdf(path, "spreadsheet", body,
           OdfAutomatic(OdfStyle("ce1", "table-cell", R"(style:font-name="Preeti1")") +
                        OdfStyle("ce2", "table-cell", R"(style:font-name="Liberation Sans")")),
           "", "");
}

// Slides whose outline and title name no font: Preeti comes from the
// master page's presentation styles.
void MakeOdp(const std::filesystem::path& path, int slides) {
  std::string body;
  for (int s = 1; s <= slides; ++s) {
    const auto seed = static_cast<unsigned>(s);
    body += R"(<draw:page draw:name="page)" + std::to_string(s) + R"(" draw:master-page-name="Default">)"
            R"(<draw:frame presentation:class="title"><draw:text-box><text:p>)" + Sentence(seed, 4) +
            R"(</text:p></draw:text-box></draw:frame><draw:frame presentation:class="outline"><draw:text-box>)";
    for (int p = 0; p < 12; ++p) body += "<text:p>" + OdfSpans(seed * 13 + static_cast<unsigned>(p), 8, p) + "</text:p>";
    body += "</draw:text-box></draw:frame></draw:page>";
  }
  WriteOdf(path, "presentation", body, OdfAutomatic(),
           OdfStyle("Default-title", "presentation", R"(style:font-name="Preeti1")") +
               OdfStyle("Default-outline1", "presentation", R"(style:font-name="Preeti1")"),
           R"(<style:master-page style:name="Default"/>)");
}

// What any rewrite of the zip costs: every part inflated and deflated.
void BareCopy(const std::filesystem::path& in, const std::filesystem::path& out) {
  PackageReader reader(in, Limits{});
  PackageWriter writer(out);
  for (const PartInfo& part : reader.parts()) writer.Add(part.name, reader.Read(part.name));
  writer.Finish();
}

// The least a conversion through a parsed tree costs: the bare copy, with
// every XML part also parsed and printed again, nothing converted.
void Reparse(const std::filesystem::path& in, const std::filesystem::path& out) {
  PackageReader reader(in, Limits{});
  PackageWriter writer(out);
  for (const PartInfo& part : reader.parts()) {
    std::string content = reader.Read(part.name);
    if (!part.name.ends_with(".xml")) {
      writer.Add(part.name, content);
      continue;
    }
    pugi::xml_document document;
    ParsePartInPlace(document, content, part.name);
    writer.AddWritten(part.name, [&](pugi::xml_writer& text) { SavePart(document, text); });
  }
  writer.Finish();
}

void Convert(const std::filesystem::path& in, const std::filesystem::path& out) {
  PackageReader reader(in, Limits{});
  PackageWriter writer(out);
  ConvertSettings settings;
  Tally tally;
  const std::filesystem::path extension = in.extension();
  if (extension == ".xlsx")
    ConvertXlsx(reader, writer, settings, tally, nullptr);
  else if (extension == ".pptx")
    ConvertPptx(reader, writer, settings, tally, nullptr);
  else
    ConvertOpenDocument(reader, writer, settings, tally, nullptr);
  writer.Finish();
  std::fprintf(stderr, "converted runs %llu, unconverted characters %llu\n",
               static_cast<unsigned long long>(tally.convertedRuns), static_cast<unsigned long long>(tally.unconverted));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s make-sheet|make-deck|make-odt|make-ods|make-odp PATH COUNT | copy|reparse|convert IN OUT\n",
                 argv[0]);
    return 2;
  }
  const std::string mode = argv[1];
  try {
    if (mode == "make-sheet") {
      MakeSheet(argv[2], std::stoi(argv[3]));
    } else if (mode == "make-deck") {
      MakeDeck(argv[2], std::stoi(argv[3]));
    } else if (mode == "make-odt") {
      MakeOdt(argv[2], std::stoi(argv[3]));
    } else if (mode == "make-ods") {
      MakeOds(argv[2], std::stoi(argv[3]));
    } else if (mode == "make-odp") {
      MakeOdp(argv[2], std::stoi(argv[3]));
    } else if (mode == "copy" || mode == "reparse" || mode == "convert") {
      const std::clock_t cpu = std::clock();
      const auto start = std::chrono::steady_clock::now();
      if (mode == "copy")
        BareCopy(argv[2], argv[3]);
      else if (mode == "reparse")
        Reparse(argv[2], argv[3]);
      else
        Convert(argv[2], argv[3]);
      const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
      std::printf("%.3f %.3f\n", static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC, took.count());
    } else {
      std::fprintf(stderr, "unknown mode %s\n", argv[1]);
      return 2;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
