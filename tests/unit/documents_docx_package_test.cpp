// Whole Word packages through ConvertDocx: every text part found by its
// content type and converted with its own document's styles, every other
// part copied as it was stored.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "documents/docx.h"
#include "documents/package.h"
#include "package_fixture.h"
#include "pugixml.hpp"
#include "temp_dir.h"

namespace lk::documents {
namespace {

namespace fs = std::filesystem;
using lk::testing::RawEntry;
using lk::testing::TempDir;
using lk::testing::TestPart;

constexpr const char* kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* kW = " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
constexpr const char* kCt = "application/vnd.openxmlformats-officedocument.wordprocessingml.";
constexpr const char* kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::string Override(const std::string& part, const std::string& type) {
  return "<Override PartName=\"/" + part + "\" ContentType=\"" + type + "\"/>";
}
std::string Rel(const std::string& type, const std::string& target) {
  return "<Relationship Id=\"r" + type + "\" Type=\"" + kRel + type + "\" Target=\"" + target + "\"/>";
}
std::string Rels(const std::string& content) {
  return kDecl + std::string("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">") +
         content + "</Relationships>";
}
std::string Styles(const std::string& font) {
  return kDecl + std::string("<w:styles") + kW + "><w:style w:type=\"paragraph\" w:styleId=\"Body\"><w:rPr><w:rFonts w:ascii=\"" +
         font + "\"/></w:rPr></w:style></w:styles>";
}
// A paragraph in the "Body" style, split i-kar and all: its font comes from the styles.
std::string Styled(const std::string& root, const std::string& inner = "") {
  return kDecl + std::string("<w:") + root + kW + ">" + inner +
         "<w:p><w:pPr><w:pStyle w:val=\"Body\"/></w:pPr><w:r><w:t>l</w:t></w:r><w:r><w:t>stfa</w:t></w:r></w:p></w:" +
         root + ">";
}

// A .docm with every kind of text part, a glossary with styles of its own,
// a picture, custom XML and settings; part names in the content types are
// in another case than in the zip, as OPC allows.
std::vector<TestPart> FullDocument() {
  const std::string types =
      kDecl + std::string("<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">") +
      "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Default Extension=\"png\" ContentType=\"image/png\"/>" +
      Override("WORD/document.xml", "application/vnd.ms-word.document.macroEnabled.main+xml") +
      Override("word/styles.xml", std::string(kCt) + "styles+xml") +
      Override("word/settings.xml", std::string(kCt) + "settings+xml") +
      Override("word/header1.xml", std::string(kCt) + "header+xml") +
      Override("word/footer1.xml", std::string(kCt) + "footer+xml") +
      Override("word/footnotes.xml", std::string(kCt) + "footnotes+xml") +
      Override("word/endnotes.xml", std::string(kCt) + "endnotes+xml") +
      Override("word/comments.xml", std::string(kCt) + "comments+xml") +
      Override("word/glossary/document.xml", std::string(kCt) + "document.glossary+xml") +
      Override("word/glossary/styles.xml", std::string(kCt) + "styles+xml") + "</Types>";
  return {
      {"[Content_Types].xml", types},
      {"_rels/.rels", Rels(Rel("officeDocument", "word/document.xml"))},
      {"word/document.xml", Styled("document", "<w:body/>")},
      {"word/_rels/document.xml.rels",
       Rels(Rel("styles", "styles.xml") + Rel("header", "header1.xml") + Rel("glossaryDocument", "glossary/document.xml"))},
      {"word/styles.xml", Styles("Preeti")},
      {"word/settings.xml", kDecl + std::string("<w:settings") + kW + "><w:zoom w:percent=\"100\"/></w:settings>"},
      {"word/header1.xml", Styled("hdr")},
      {"word/footer1.xml", Styled("ftr")},
      {"word/footnotes.xml", Styled("footnotes")},
      {"word/endnotes.xml", Styled("endnotes")},
      {"word/comments.xml", Styled("comments")},
      {"word/glossary/document.xml", Styled("glossaryDocument")},
      {"word/glossary/_rels/document.xml.rels", Rels(Rel("styles", "styles.xml"))},
      // The glossary's own Body is English: its paragraph stays as it is.
      {"word/glossary/styles.xml", Styles("Arial")},
      {"word/media/image1.png", lk::testing::NoiseBytes(20000)},
      {"customXml/item1.xml", "<b:Sources xmlns:b=\"urn:x\"><b:t>l stfa</b:t></b:Sources>"},
  };
}

// The texts of a part's runs.
std::vector<std::string> RunTexts(const std::string& xml) {
  pugi::xml_document doc;
  EXPECT_TRUE(doc.load_string(xml.c_str()));
  std::vector<std::string> texts;
  for (const pugi::xpath_node& t : doc.select_nodes("//w:r")) texts.push_back(t.node().child("w:t").text().get());
  return texts;
}

void Convert(const fs::path& in, const fs::path& out, Tally& tally, const std::atomic<bool>* cancel = nullptr) {
  PackageReader reader(in, Limits{});
  PackageWriter writer(out);
  ConvertDocx(reader, writer, ConvertSettings{}, tally, cancel);
  writer.Finish();
}

TEST(DocxPackage, TextPartsConvertWithTheirOwnStylesAndEveryOtherPartIsCopiedAsStored) {
  TempDir dir;
  const fs::path in = dir.path() / "in.docm", out = dir.path() / "out.docm", again = dir.path() / "again.docm";
  lk::testing::WritePackage(in, FullDocument());
  Tally tally;
  Convert(in, out, tally);
  EXPECT_EQ(tally.convertedRuns, 6u);  // the i-kar's run goes, its syllable in the next

  PackageReader reader(out, Limits{});
  std::vector<std::string> names;
  for (const PartInfo& part : reader.parts()) names.push_back(part.name);
  std::vector<std::string> expected;
  for (const TestPart& part : FullDocument()) expected.push_back(part.name);
  EXPECT_EQ(names, expected);

  const std::vector<std::string> converted{"किताब"}, english{"l", "stfa"};
  for (const char* part : {"word/document.xml", "word/header1.xml", "word/footer1.xml", "word/footnotes.xml",
                           "word/endnotes.xml", "word/comments.xml"})
    EXPECT_EQ(RunTexts(reader.Read(part)), converted) << part;
  for (const char* part : {"word/glossary/document.xml", "word/styles.xml", "word/settings.xml",
                           "word/media/image1.png", "customXml/item1.xml", "[Content_Types].xml",
                           "word/_rels/document.xml.rels"})
    EXPECT_EQ(RawEntry(out, part).bytes, RawEntry(in, part).bytes) << part;

  // Converting the result changes nothing: every part comes out as stored.
  Tally second;
  Convert(out, again, second);
  EXPECT_EQ(second.convertedRuns, 0u);
  for (const std::string& name : names) EXPECT_EQ(RawEntry(again, name).bytes, RawEntry(out, name).bytes) << name;
}

TEST(DocxPackage, ABrokenPartOrAMissingDocumentIsNamedAndACancelStopsBetweenParts) {
  TempDir dir;
  const fs::path out = dir.path() / "out.docx";
  struct Case {
    const char* what;
    std::vector<TestPart> parts;
    const char* message;
  };
  std::vector<TestPart> brokenHeader = FullDocument();
  brokenHeader[6].content = "<w:hdr><w:p></w:hdr>";
  std::vector<TestPart> brokenStyles = FullDocument();
  brokenStyles[4].content = "<w:styles";
  std::vector<TestPart> noTypes = FullDocument();
  noTypes.erase(noTypes.begin());
  std::vector<TestPart> noDocument = FullDocument();
  noDocument[0].content = "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>";
  const Case cases[] = {
      {"broken header", brokenHeader, "word/header1.xml"},
      {"broken styles", brokenStyles, "word/styles.xml"},
      {"no content types", noTypes, "[Content_Types].xml"},
      {"no document part", noDocument, "no document part"},
  };
  for (const Case& c : cases) {
    const fs::path in = dir.path() / "in.docx";
    lk::testing::WritePackage(in, c.parts);
    Tally tally;
    try {
      Convert(in, out, tally);
      ADD_FAILURE() << c.what;
    } catch (const DocumentError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.what << ": " << e.what();
    }
  }
  const fs::path in = dir.path() / "in.docx";
  lk::testing::WritePackage(in, FullDocument());
  const std::atomic<bool> cancel{true};
  Tally tally;
  EXPECT_THROW(Convert(in, out, tally, &cancel), Cancelled);
}

}  // namespace
}  // namespace lk::documents
