// scripts/bench-office-documents: a text-heavy workbook and deck, written
// here, then either copied bare (every part inflated and deflated again,
// as any rewrite of the zip must) or converted; the time of the work alone
// is printed in seconds, the script measures the process's peak memory.
//   lk_office_documents_bench make-sheet PATH ROWS
//   lk_office_documents_bench make-deck PATH SLIDES
//   lk_office_documents_bench copy|convert IN OUT
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "documents/document_file.h"
#include "documents/package.h"
#include "documents/pptx.h"
#include "documents/xlsx.h"

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

// What any rewrite of the zip costs: every part inflated and deflated.
void BareCopy(const std::filesystem::path& in, const std::filesystem::path& out) {
  PackageReader reader(in, Limits{});
  PackageWriter writer(out);
  for (const PartInfo& part : reader.parts()) writer.Add(part.name, reader.Read(part.name));
  writer.Finish();
}

void Convert(const std::filesystem::path& in, const std::filesystem::path& out) {
  PackageReader reader(in, Limits{});
  PackageWriter writer(out);
  ConvertSettings settings;
  Tally tally;
  if (in.extension() == ".xlsx")
    ConvertXlsx(reader, writer, settings, tally, nullptr);
  else
    ConvertPptx(reader, writer, settings, tally, nullptr);
  writer.Finish();
  std::fprintf(stderr, "converted runs %llu, unconverted characters %llu\n",
               static_cast<unsigned long long>(tally.convertedRuns), static_cast<unsigned long long>(tally.unconverted));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s make-sheet|make-deck PATH COUNT | copy|convert IN OUT\n", argv[0]);
    return 2;
  }
  const std::string mode = argv[1];
  try {
    if (mode == "make-sheet") {
      MakeSheet(argv[2], std::stoi(argv[3]));
    } else if (mode == "make-deck") {
      MakeDeck(argv[2], std::stoi(argv[3]));
    } else if (mode == "copy" || mode == "convert") {
      const auto start = std::chrono::steady_clock::now();
      if (mode == "copy")
        BareCopy(argv[2], argv[3]);
      else
        Convert(argv[2], argv[3]);
      const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
      std::printf("%.3f\n", took.count());
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
