// Workbooks built by hand: shared strings one Preeti and one Arial cell
// share, rich runs split mid-syllable, theme fonts, inline strings,
// comments and charts, and what must stay as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "documents/document_file.h"
#include "documents/sheet_references.h"
#include "documents/sheet_text.h"
#include "documents/sheets_and_slides.h"
#include "documents/xml_part.h"
#include "documents/package.h"
#include "unit/office_parts_fixture.h"
#include "unit/package_fixture.h"
#include "unit/temp_dir.h"

namespace lk::documents {
namespace {

using convert::Direction;
using testing::MemoryOutput;
using testing::MemoryParts;
using testing::ParseXml;
using testing::Query;

constexpr char kMain[] = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
constexpr char kSheetName[] = "xl/worksheets/sheet1.xml";
constexpr char kStringsName[] = "xl/sharedStrings.xml";
constexpr char kStylesName[] = "xl/styles.xml";

// Fonts 0 Calibri (the theme's body font), 1 Preeti 14, 2 Arial, 3 bold
// "PREETI " 20; cell format n uses font n.
constexpr char kStyles[] =
    R"(<fonts count="4"><font><sz val="11"/><name val="Calibri"/><family val="2"/><scheme val="minor"/></font>)"
    R"(<font><sz val="14"/><name val="Preeti"/></font><font><sz val="11"/><name val="Arial"/></font>)"
    R"(<font><b/><sz val="20"/><name val="PREETI "/><charset val="2"/></font></fonts>)"
    R"(<cellXfs count="4"><xf numFmtId="0" fontId="0"/><xf numFmtId="0" fontId="1" applyFont="1"/>)"
    R"(<xf numFmtId="0" fontId="2" applyFont="1"/><xf numFmtId="14" fontId="3" applyFont="1"/></cellXfs>)";

struct Book {
  std::string strings;  // si items
  std::string rows;
  std::string minorFont = "Calibri";
  std::string comments;  // comment elements; none when empty
  std::string chart;     // the chart's XML; none when empty
  std::string sheetTail;  // what follows the sheet's data (headerFooter)
  std::string table;      // a table of the sheet; none when empty
};

constexpr char kTableName[] = "xl/tables/table1.xml";
constexpr char kChartName[] = "xl/charts/chart1.xml";

MemoryParts Make(const Book& book) {
  std::vector<std::pair<std::string, std::string>> types{{"xl/workbook.xml", "spreadsheetml.sheet.main+xml"},
                                                         {kSheetName, "spreadsheetml.worksheet+xml"},
                                                         {kStylesName, "spreadsheetml.styles+xml"},
                                                         {kStringsName, "spreadsheetml.sharedStrings+xml"},
                                                         {"xl/theme/theme1.xml", "theme+xml"}};
  if (!book.comments.empty()) types.emplace_back("xl/comments1.xml", "spreadsheetml.comments+xml");
  if (!book.chart.empty()) types.emplace_back("xl/charts/chart1.xml", "drawingml.chart+xml");
  if (!book.table.empty()) types.emplace_back(kTableName, "spreadsheetml.table+xml");
  MemoryParts parts;
  parts.Set("[Content_Types].xml", testing::ContentTypesXml(types));
  parts.Set("_rels/.rels", testing::RelationshipsXml({{"officeDocument", "xl/workbook.xml"}}));
  parts.Set("xl/workbook.xml", std::string("<workbook ") + kMain +
                                   R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
                                   R"(<sheets><sheet name="g]kfn" sheetId="1" r:id="rId1"/></sheets>)"
                                   R"(<definedNames><definedName name="s'n">'g]kfn'!$A$1</definedName></definedNames></workbook>)");
  parts.Set("xl/_rels/workbook.xml.rels",
            testing::RelationshipsXml({{"worksheet", "worksheets/sheet1.xml"}, {"styles", "styles.xml"},
                                       {"sharedStrings", "/xl/sharedStrings.xml"}, {"theme", "theme/theme1.xml"}}));
  // The style sheet before the sheets, as some producers write it.
  parts.Set(kStylesName, std::string("<styleSheet ") + kMain + ">" + kStyles + "</styleSheet>");
  parts.Set("xl/theme/theme1.xml", testing::ThemeXml("Cambria", book.minorFont));
  parts.Set(kSheetName,
            std::string("<worksheet ") + kMain +
                R"( xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006")"
                R"( xmlns:x14ac="http://schemas.microsoft.com/office/spreadsheetml/2009/9/ac" mc:Ignorable="x14ac">)"
                "<sheetData>" + book.rows + "</sheetData>" + book.sheetTail + "</worksheet>");
  if (!book.table.empty()) {
    parts.Set("xl/worksheets/_rels/sheet1.xml.rels", testing::RelationshipsXml({{"table", "../tables/table1.xml"}}));
    parts.Set(kTableName, book.table);
  }
  auto occurrences = [](const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return std::to_string(n);
  };
  parts.Set(kStringsName, std::string("<sst ") + kMain + " count=\"" + occurrences(book.rows, "t=\"s\"") +
                              "\" uniqueCount=\"" + occurrences(book.strings, "<si>") + "\">" + book.strings + "</sst>");
  if (!book.comments.empty())
    parts.Set("xl/comments1.xml", std::string("<comments ") + kMain + "><authors><author>A</author></authors><commentList>" +
                                      book.comments + "</commentList></comments>");
  if (!book.chart.empty()) parts.Set("xl/charts/chart1.xml", book.chart);
  return parts;
}

std::unique_ptr<testing::Converted> Convert(MemoryParts parts, Direction direction = Direction::kToUnicode) {
  return testing::ConvertInMemory(ConvertXlsxParts, std::move(parts), direction);
}

// A cell as a reader sees it: its text, the family of its format's font,
// and each rich run's rFont ("" for a run taking the cell's font).
struct CellView {
  std::string text;
  std::string font;
  std::vector<std::string> runFonts;
  std::string format;
  std::string item;  // the shared string it points at
};

CellView Show(const MemoryOutput& output, const std::string& ref) {
  const auto sheet = ParseXml(output.Part(kSheetName));
  const auto strings = ParseXml(output.Part(kStringsName));
  const auto styles = ParseXml(output.Part(kStylesName));
  const pugi::xml_node cell = sheet.select_node(("//c[@r='" + ref + "']").c_str()).node();
  CellView view;
  view.format = cell.attribute("s").value();
  const int format = cell.attribute("s").as_int(0);
  const int font = styles.select_node(("//cellXfs/xf[" + std::to_string(format + 1) + "]").c_str())
                       .node()
                       .attribute("fontId")
                       .as_int(-1);
  view.font = Query(styles, ("//fonts/font[" + std::to_string(font + 1) + "]/name/@val").c_str());
  pugi::xml_node text = ChildNamed(cell, "is");
  if (std::string_view(cell.attribute("t").value()) == "s") {
    view.item = ChildNamed(cell, "v").text().get();
    text = strings.select_node(("//si[" + std::to_string(std::stoi(view.item) + 1) + "]").c_str()).node();
  }
  view.text = testing::TextOf(text);
  for (pugi::xpath_node run : text.select_nodes("r"))
    view.runFonts.push_back(run.node().select_node("rPr/rFont/@val").attribute().value());
  return view;
}

std::string Cell(const char* ref, int format, const char* item) {
  return std::string("<c r=\"") + ref + "\" s=\"" + std::to_string(format) + "\" t=\"s\"><v>" + item + "</v></c>";
}

TEST(Xlsx, AStringSharedByAPreetiAndAnArialCellIsSplitBeforeThePreetiUseConverts) {
  Book book;
  book.strings = "<si><t>g]kfn</t></si><si><t>Total</t></si>";
  book.rows = "<row r=\"1\">" + Cell("A1", 2, "0") + Cell("B1", 1, "0") + Cell("C1", 2, "1") + "</row><row r=\"2\">" +
              Cell("A2", 1, "0") + "</row>";
  const auto result = Convert(Make(book));
  const MemoryOutput& out = *result->output;

  // The Arial cell keeps the string as it was; both Preeti cells share the
  // new item, in a new format with the Unicode font at the old size.
  const CellView arial = Show(out, "A1"), preeti = Show(out, "B1"), again = Show(out, "A2");
  EXPECT_EQ(arial.text, "g]kfn");
  EXPECT_EQ(arial.item, "0");
  EXPECT_EQ(arial.format, "2");
  EXPECT_EQ(preeti.text, "नेपाल");
  EXPECT_EQ(preeti.item, "2");
  EXPECT_EQ(preeti.font, "Nirmala UI");
  EXPECT_EQ(again.item, "2");
  EXPECT_EQ(again.format, preeti.format);
  EXPECT_EQ(Show(out, "C1").text, "Total");

  const auto strings = ParseXml(out.Part(kStringsName));
  EXPECT_EQ(Query(strings, "/sst/@uniqueCount"), "3");
  EXPECT_EQ(Query(strings, "/sst/@count"), "4");  // as many uses as before
  const auto styles = ParseXml(out.Part(kStylesName));
  EXPECT_EQ(Query(styles, "//cellXfs/@count"), "5");
  EXPECT_EQ(Query(styles, "//cellXfs/xf[2]/@fontId"), "1");  // the Preeti format other cells may use is kept
  EXPECT_EQ(Query(styles, "//cellXfs/xf[5]/@fontId"), "4");
  EXPECT_EQ(Query(styles, "//fonts/@count"), "5");
  EXPECT_EQ(Query(styles, "//fonts/font[5]/sz/@val"), "14");
  EXPECT_EQ(result->tally.convertedRuns, 1u);
  // Sheet names and defined names are not text to convert.
  EXPECT_TRUE(out.copied.count("xl/workbook.xml"));
}

// The strings part is written around the items that change: the others,
// and what is not an item, come out as they were, and a split's new item
// goes after the last item, where the extensions that must stay last are
// not.
TEST(Xlsx, ANewItemFollowsTheLastItemAndEverythingUntouchedKeepsItsText) {
  Book book;
  const std::string kept = R"(<si><t xml:space="preserve"> A &amp; B </t><rPh sb="0" eb="1"><t>x</t></rPh></si>)";
  book.strings = "<si><t>g]kfn</t></si>" + kept + "<!-- note --><si><t>;/sf/</t></si>" +
                 R"(<extLst><ext uri="{X}"><y/></ext></extLst>)";
  book.rows = "<row r=\"1\">" + Cell("A1", 2, "0") + Cell("B1", 1, "0") + Cell("C1", 2, "1") + Cell("D1", 1, "2") +
              "</row>";
  const auto result = Convert(Make(book));
  const std::string strings = result->output->Part(kStringsName);
  EXPECT_NE(strings.find("<si><t>g]kfn</t></si>" + kept + "<!-- note --><si><t>सरकार</t></si><si><t>नेपाल</t></si>"
                         R"(<extLst><ext uri="{X}"><y/></ext></extLst></sst>)"),
            std::string::npos)
      << strings;
  EXPECT_EQ(Query(ParseXml(strings), "/sst/@uniqueCount"), "4");
  EXPECT_EQ(Show(*result->output, "B1").item, "3");
  EXPECT_EQ(Show(*result->output, "D1").item, "2");
}

TEST(Xlsx, StringsConvertByTheFontEachPartShowsIn) {
  struct Case {
    const char* name;
    std::string item;
    int format;
    std::string text;
    std::string cellFont;
    std::vector<std::string> runFonts;
  };
  const Case cases[] = {
      {"plain text in a Preeti cell", "<si><t>;/sf/</t></si>", 1, "सरकार", "Nirmala UI", {}},
      {"a family named in capitals with a blank", "<si><t>g]kfn</t></si>", 3, "नेपाल", "Nirmala UI", {}},
      {"a syllable split between two Preeti runs of an Arial cell",
       R"(<si><r><rPr><b/><rFont val="Preeti"/></rPr><t>l</t></r><r><rPr><rFont val="Preeti"/></rPr><t>stfa</t></r></si>)",
       2, "किताब", "Arial", {"Nirmala UI", "Nirmala UI"}},
      {"runs without a font take the Preeti cell's; English keeps Arial",
       R"(<si><r><t>g]kfn</t></r><r><rPr><rFont val="Arial"/></rPr><t xml:space="preserve"> Hello</t></r></si>)", 1,
       "नेपाल Hello", "Nirmala UI", {"", "Arial"}},
      {"AutoCorrect's quote in Preeti is u-kar", "<si><t>s’</t></si>", 1, "कु", "Nirmala UI", {}},
      {"English in an Arial cell stays", "<si><t>Total</t></si>", 2, "Total", "Arial", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Book book;
    book.strings = c.item;
    book.rows = "<row r=\"1\">" + Cell("A1", c.format, "0") + "</row>";
    const auto result = Convert(Make(book));
    const CellView view = Show(*result->output, "A1");
    EXPECT_EQ(view.text, c.text);
    EXPECT_EQ(view.font, c.cellFont);
    EXPECT_EQ(view.runFonts, c.runFonts);
  }
}

TEST(Xlsx, TwoPreetiCellsOfDifferentSizesShareOneConvertedStringEachInItsOwnNewFormat) {
  Book book;
  book.strings = "<si><t>g]kfn</t></si>";
  book.rows = "<row r=\"1\">" + Cell("A1", 1, "0") + Cell("B1", 3, "0") + Cell("C1", 1, "0") + "</row>";
  const auto result = Convert(Make(book));
  const MemoryOutput& out = *result->output;
  const CellView a = Show(out, "A1"), b = Show(out, "B1"), c = Show(out, "C1");
  EXPECT_EQ(a.item, "0");
  EXPECT_EQ(b.item, "0");
  EXPECT_EQ(a.text, "नेपाल");
  EXPECT_NE(a.format, b.format);
  EXPECT_EQ(a.format, c.format);
  const auto styles = ParseXml(out.Part(kStylesName));
  EXPECT_EQ(Query(styles, "//cellXfs/@count"), "6");
  EXPECT_EQ(Query(styles, "//cellXfs/xf[6]/@numFmtId"), "14");  // the rest of the format is kept
  // The bold 20-point font keeps its look but not the old character set.
  EXPECT_TRUE(styles.select_node("//fonts/font[6]/b"));
  EXPECT_FALSE(styles.select_node("//fonts/font[6]/charset"));
  EXPECT_EQ(Query(ParseXml(out.Part(kStringsName)), "/sst/@uniqueCount"), "1");
}

TEST(Xlsx, InlineStringsAndFormulaResultsConvertWhileFormulasNumbersAndDatesStay) {
  Book book;
  book.strings = "<si><t>x</t></si>";
  book.rows = R"(<row r="1"><c r="A1" s="1" t="inlineStr"><is><t>;/sf/</t></is></c>)"
              R"(<c r="B1" s="1" t="str"><f>A1&amp;"s"</f><v>;/sf/s</v></c>)"
              R"(<c r="C1" s="1"><v>2080</v></c><c r="D1" s="3"><v>45000</v></c></row>)";
  const auto result = Convert(Make(book));
  const MemoryOutput& out = *result->output;
  const CellView inlineCell = Show(out, "A1");
  EXPECT_EQ(inlineCell.text, "सरकार");
  EXPECT_EQ(inlineCell.font, "Nirmala UI");
  const auto sheet = ParseXml(out.Part(kSheetName));
  // A formula's text result follows the cells it is made of; the formula
  // stays as it was.
  EXPECT_EQ(Query(sheet, "//c[@r='B1']/f"), "A1&\"s\"");
  EXPECT_EQ(Query(sheet, "//c[@r='B1']/v"), "सरकारक");
  EXPECT_EQ(Query(sheet, "//c[@r='B1']/@s"), Query(sheet, "//c[@r='A1']/@s"));
  EXPECT_EQ(Query(sheet, "//c[@r='C1']/@s"), "1");
  EXPECT_EQ(Query(sheet, "//c[@r='D1']/@s"), "3");
  // The sheet's namespace declarations and mc:Ignorable are kept.
  EXPECT_EQ(Query(sheet, "/worksheet/@mc:Ignorable"), "x14ac");
  EXPECT_TRUE(sheet.document_element().attribute("xmlns:x14ac"));
}

TEST(Xlsx, TheThemeFontOfACellCountsAndItsNewFontNoLongerFollowsTheTheme) {
  Book book;
  book.minorFont = "Preeti";
  book.strings = "<si><t>g]kfn</t></si>";
  book.rows = "<row r=\"1\">" + Cell("A1", 0, "0") + "</row>";
  const auto result = Convert(Make(book));
  EXPECT_EQ(Show(*result->output, "A1").text, "नेपाल");
  const auto styles = ParseXml(result->output->Part(kStylesName));
  EXPECT_EQ(Query(styles, "//fonts/font[5]/name/@val"), "Nirmala UI");
  EXPECT_FALSE(styles.select_node("//fonts/font[5]/scheme"));
  EXPECT_TRUE(styles.select_node("//fonts/font[1]/scheme"));
}

TEST(Xlsx, CommentsAndChartTitlesInALegacyFontConvert) {
  Book book;
  book.strings = "<si><t>x</t></si>";
  book.rows = "<row r=\"1\">" + Cell("A1", 2, "0") + "</row>";
  book.comments =
      R"(<comment ref="A1" authorId="0"><text><r><rPr><sz val="9"/><rFont val="Preeti"/></rPr><t>g]kfn</t></r>)"
      R"(<r><rPr><rFont val="Tahoma"/></rPr><t xml:space="preserve"> ok</t></r></text></comment>)";
  book.chart =
      R"(<c:chartSpace xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart" )"
      R"(xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main"><c:chart><c:title><c:tx><c:rich>)"
      R"(<a:bodyPr/><a:p><a:r><a:rPr lang="en-US" b="1"><a:solidFill><a:srgbClr val="000000"/></a:solidFill></a:rPr>)"
      R"(<a:t>;/sf/</a:t></a:r></a:p></c:rich></c:tx></c:title></c:chart><c:txPr><a:bodyPr/><a:lstStyle/><a:p><a:pPr>)"
      R"(<a:defRPr><a:latin typeface="Preeti"/></a:defRPr></a:pPr><a:endParaRPr lang="en-US"/></a:p></c:txPr></c:chartSpace>)";
  const auto result = Convert(Make(book));
  const auto comments = ParseXml(result->output->Part("xl/comments1.xml"));
  EXPECT_EQ(testing::TextOf(comments.select_node("//comment/text").node()), "नेपाल ok");
  EXPECT_EQ(Query(comments, "//r[1]/rPr/rFont/@val"), "Nirmala UI");
  EXPECT_EQ(Query(comments, "//r[2]/rPr/rFont/@val"), "Tahoma");
  const auto chart = ParseXml(result->output->Part("xl/charts/chart1.xml"));
  EXPECT_EQ(Query(chart, "//c:title//a:t"), "सरकार");
  // New font slots go after the fill, where the run properties' sequence
  // puts them.
  const pugi::xml_node properties = chart.select_node("//c:title//a:rPr").node();
  std::vector<std::string> order;
  for (pugi::xml_node child : properties.children()) order.push_back(child.name());
  EXPECT_EQ(order, (std::vector<std::string>{"a:solidFill", "a:latin", "a:ea", "a:cs"}));
  EXPECT_EQ(Query(chart, "//c:title//a:latin/@typeface"), "Nirmala UI");
}

TEST(Xlsx, ConvertingTheOutputAgainChangesNothing) {
  Book book;
  book.strings = R"(<si><t>g]kfn</t></si><si><r><rPr><rFont val="Preeti"/></rPr><t>l</t></r>)"
                 R"(<r><rPr><rFont val="Preeti"/></rPr><t>stfa</t></r></si>)";
  book.rows = "<row r=\"1\">" + Cell("A1", 2, "0") + Cell("B1", 1, "0") + Cell("C1", 2, "1") +
              R"(<c r="D1" s="1" t="inlineStr"><is><t>;/sf/</t></is></c></row>)";
  book.comments = R"(<comment ref="A1" authorId="0"><text><r><rPr><rFont val="Preeti"/></rPr><t>g]kfn</t></r></text></comment>)";
  const auto first = Convert(Make(book));
  EXPECT_FALSE(first->output->written.empty());
  const auto second = Convert(first->output->AsParts());
  EXPECT_TRUE(second->output->written.empty()) << *second->output->written.begin();
  EXPECT_EQ(second->tally.convertedRuns, 0u);
}

TEST(Xlsx, ToLegacyOnlyTheDevanagariTakesTheFamily) {
  Book book;
  book.strings = R"(<si><t>नेपाल</t></si><si><t>नेपाल Hello</t></si><si><t>g]kfn</t></si>)";
  book.rows = "<row r=\"1\">" + Cell("A1", 2, "0") + Cell("B1", 2, "1") + Cell("C1", 1, "2") + "</row>";
  const auto result = Convert(Make(book), Direction::kToLegacy);
  const MemoryOutput& out = *result->output;
  const CellView whole = Show(out, "A1"), mixed = Show(out, "B1"), legacy = Show(out, "C1");
  EXPECT_EQ(whole.text, "g]kfn");
  EXPECT_EQ(whole.font, "Preeti");
  // A mixed string becomes runs: the Devanagari in Preeti at the cell's
  // size, the English taking the cell's Arial.
  EXPECT_EQ(mixed.text, "g]kfn Hello");
  EXPECT_EQ(mixed.font, "Arial");
  EXPECT_EQ(mixed.runFonts, (std::vector<std::string>{"Preeti", ""}));
  const auto strings = ParseXml(out.Part(kStringsName));
  EXPECT_EQ(Query(strings, "//si[2]/r[1]/rPr/sz/@val"), "11");
  EXPECT_EQ(Query(strings, "//si[2]/r[2]/t/@xml:space"), "preserve");
  EXPECT_EQ(legacy.text, "g]kfn");
  EXPECT_EQ(legacy.format, "1");
}

TEST(Xlsx, MalformedPartsAndMissingWorkbooksAreRefusedByName) {
  Book book;
  MemoryParts parts = Make(book);
  parts.Set(kSheetName, "<worksheet><sheetData><row></sheetData></worksheet>");
  try {
    Convert(std::move(parts));
    FAIL() << "malformed sheet accepted";
  } catch (const DocumentError& error) {
    EXPECT_NE(std::string(error.what()).find(kSheetName), std::string::npos) << error.what();
  }
  MemoryParts noWorkbook = Make(book);
  noWorkbook.Set("_rels/.rels", testing::RelationshipsXml({}));
  EXPECT_THROW(Convert(std::move(noWorkbook)), DocumentError);

  // A cell showing a string past the last would show the item a split adds
  // there: text it never had.
  Book dangling;
  dangling.strings = "<si><t>g]kfn</t></si><si><t>Total</t></si>";
  dangling.rows = "<row r=\"1\">" + Cell("A1", 2, "0") + Cell("B1", 1, "0") + "</row><row r=\"2\">" +
                  Cell("A2", 1, "2") + "</row>";
  try {
    Convert(Make(dangling));
    FAIL() << "a cell past the shared strings accepted";
  } catch (const DocumentError& error) {
    EXPECT_NE(std::string(error.what()).find(kSheetName), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("damaged"), std::string::npos) << error.what();
  }
}

TEST(Xlsx, ExcelEscapesReadAsCharactersAndWrittenBack) {
  const std::pair<const char*, const char*> cases[] = {
      {"g]kfn_x000D_", "g]kfn\r"},
      {"_x005F_x0041_", "_x0041_"},  // a literal "_x0041_"
      {"_xD800_", "_xD800_"},        // half a surrogate pair stays as written
      {"_x12_", "_x12_"},
  };
  for (const auto& [stored, text] : cases) {
    EXPECT_EQ(DecodeEscapes(stored), text) << stored;
    if (std::string_view(stored) != "_xD800_") EXPECT_EQ(EncodeEscapes(text), stored) << stored;
  }
}

TEST(Xlsx, ThroughTheZipConvertedPartsAreRewrittenAndTheRestKeepTheirStoredBytes) {
  Book book;
  book.strings = "<si><t>g]kfn</t></si>";
  book.rows = "<row r=\"1\">" + Cell("A1", 1, "0") + "</row>";
  MemoryParts parts = Make(book);
  std::vector<testing::TestPart> entries;
  for (const std::string& name : parts.Names()) entries.push_back({name, parts.Read(name)});
  testing::TempDir dir;
  const auto input = dir.path() / "book.xlsx", output = dir.path() / "book (Unicode).xlsx";
  testing::WritePackage(input, entries);
  {
    PackageReader reader(input, Limits{});
    PackageWriter writer(output);
    Tally tally;
    ConvertXlsx(reader, writer, ConvertSettings{}, tally, nullptr);
    writer.Finish();
    EXPECT_EQ(tally.convertedRuns, 1u);
  }
  PackageReader result(output, Limits{});
  std::vector<std::string> names;
  for (const PartInfo& part : result.parts()) names.push_back(part.name);
  // Every part, in the order it had, but for the style sheet: it gains the
  // converted cells' formats as the sheets are written, so it follows them.
  std::vector<std::string> expected = parts.Names();
  std::erase(expected, std::string(kStylesName));
  expected.insert(std::find(expected.begin(), expected.end(), kSheetName) + 1, kStylesName);
  EXPECT_EQ(names, expected);
  EXPECT_NE(result.Read(kStringsName).find("नेपाल"), std::string::npos);
  for (const char* kept : {"xl/workbook.xml", "xl/theme/theme1.xml", "[Content_Types].xml"})
    EXPECT_EQ(testing::RawEntry(output, kept).bytes, testing::RawEntry(input, kept).bytes) << kept;
}

// Excel calls a file corrupt whose table names a column otherwise than its
// header cell reads, so the names follow the converted cells.
TEST(Xlsx, TableColumnsAndTotalsLabelsFollowTheirConvertedCells) {
  Book book;
  // The header string is also used by an Arial cell outside the table, so
  // the header's use of it is split off before it converts.
  book.strings = "<si><t>g]kfn</t></si><si><t>Total</t></si><si><t>;/sf/</t></si>";
  book.rows = "<row r=\"1\">" + Cell("A1", 1, "0") + Cell("B1", 2, "1") +
              "<c r=\"C1\" s=\"1\" t=\"inlineStr\"><is><t xml:space=\"preserve\">g]kfn\n;/sf/</t></is></c></row>"
              "<row r=\"2\"><c r=\"A2\" s=\"1\"><v>1</v></c></row><row r=\"3\">" + Cell("A3", 1, "2") + "</row>" +
              "<row r=\"5\">" + Cell("D5", 2, "0") + "</row>";
  const std::string formula = R"(<calculatedColumnFormula>Table1[[#This Row],[Total]]&amp;"x"</calculatedColumnFormula>)";
  book.table = std::string("<table ") + kMain +
               R"( id="1" name="Table1" displayName="Table1" ref="A1:C3" totalsRowCount="1"><autoFilter ref="A1:C2"/>)"
               R"(<tableColumns count="3"><tableColumn id="1" name="g]kfn" totalsRowLabel=";/sf/"/>)"
               R"(<tableColumn id="2" name="Total" totalsRowFunction="count"/><tableColumn id="3" name="g]kfn_x000a_;/sf/">)" +
               formula + R"(</tableColumn></tableColumns><tableStyleInfo name="TableStyleMedium2" showRowStripes="1"/></table>)";
  MemoryParts parts = Make(book);
  // The table before the sheet in the package, as some producers put it.
  std::vector<std::pair<std::string, std::string>> reordered{{kTableName, parts.Read(kTableName)}};
  for (const std::string& name : parts.Names())
    if (name != kTableName) reordered.emplace_back(name, parts.Read(name));
  const auto result = Convert(MemoryParts(reordered));
  const MemoryOutput& out = *result->output;
  EXPECT_EQ(Show(out, "A1").text, "नेपाल");
  EXPECT_EQ(Show(out, "D5").text, "g]kfn");
  const std::string tableXml = out.Part(kTableName);
  const auto table = ParseXml(tableXml);
  EXPECT_EQ(Query(table, "//tableColumn[1]/@name"), "नेपाल");
  EXPECT_EQ(Query(table, "//tableColumn[1]/@totalsRowLabel"), "सरकार");
  EXPECT_EQ(Query(table, "//tableColumn[2]/@name"), "Total");
  // Excel's own escape for a line break in a column name.
  EXPECT_EQ(Query(table, "//tableColumn[3]/@name"), "नेपाल_x000a_सरकार");
  // Formulas, structured references among them, are left as they are.
  EXPECT_NE(tableXml.find(formula), std::string::npos) << tableXml;
  EXPECT_EQ(Query(table, "//autoFilter/@ref"), "A1:C2");

  const auto again = Convert(out.AsParts());
  EXPECT_TRUE(again->output->written.empty()) << *again->output->written.begin();
}

TEST(Xlsx, ToLegacyATablesColumnNameFollowsItsHeaderCellToo) {
  Book book;
  book.strings = "<si><t>नेपाल</t></si><si><t>Total</t></si>";
  book.rows = "<row>" + std::string(R"(<c s="2" t="s"><v>1</v></c><c s="2" t="s"><v>0</v></c>)") + "</row>";
  book.table = std::string("<table ") + kMain + R"( id="1" name="T" displayName="T" ref="A1:B2">)"
               R"(<tableColumns count="2"><tableColumn id="1" name="Total"/><tableColumn id="2" name="नेपाल"/>)"
               R"(</tableColumns></table>)";
  // Cells without an r follow the one before: the header is B1.
  const auto result = Convert(Make(book), Direction::kToLegacy);
  const auto table = ParseXml(result->output->Part(kTableName));
  EXPECT_EQ(Query(table, "//tableColumn[1]/@name"), "Total");
  EXPECT_EQ(Query(table, "//tableColumn[2]/@name"), "g]kfn");
}

TEST(Xlsx, ATableWhoseHeaderStaysIsCopiedAsItWas) {
  struct Case {
    const char* name;
    std::string rows;
    std::string tableAttributes;
  };
  const Case cases[] = {
      {"an English header", "<row r=\"1\">" + Cell("A1", 2, "0") + "</row><row r=\"2\">" + Cell("A2", 1, "1") + "</row>",
       R"(ref="A1:A2")"},
      // Without a header row the first row is data: its converted text is
      // not the column's name.
      {"no header row", "<row r=\"1\">" + Cell("A1", 1, "1") + "</row>", R"(ref="A1:A2" headerRowCount="0")"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Book book;
    book.strings = "<si><t>Name</t></si><si><t>g]kfn</t></si>";
    book.rows = c.rows;
    book.table = std::string("<table ") + kMain + R"( id="1" name="T" displayName="T" )" + c.tableAttributes +
                 R"(><tableColumns count="1"><tableColumn id="1" name="Name"/></tableColumns></table>)";
    const auto result = Convert(Make(book));
    EXPECT_TRUE(result->output->copied.count(kTableName));
    EXPECT_TRUE(result->output->written.count(kStringsName));  // the Preeti cell did convert
  }
}

TEST(Xlsx, HeadersAndFootersConvertByTheirFontSwitchesOrTheDefaultFont) {
  Book book;
  book.minorFont = "Preeti";  // the default font (font 0) follows the theme
  book.strings = "<si><t>x</t></si>";
  book.rows = "<row r=\"1\">" + Cell("A1", 2, "0") + "</row>";
  book.sheetTail =
      R"(<headerFooter differentFirst="1"><oddHeader>&amp;L&amp;"Preeti,Bold"g]kfn&amp;R&amp;P / &amp;N</oddHeader>)"
      R"(<oddFooter>&amp;C;/sf/</oddFooter><firstFooter>&amp;L&amp;"Arial,Regular"Page &amp;P</firstFooter></headerFooter>)";
  const auto result = Convert(Make(book));
  const auto sheet = ParseXml(result->output->Part(kSheetName));
  // The right section shows in the default Preeti font: its "/" is ra.
  EXPECT_EQ(Query(sheet, "//oddHeader"), "&L&\"Nirmala UI,Bold\"नेपाल&R&\"Nirmala UI,Regular\"&P र &N");
  EXPECT_EQ(Query(sheet, "//oddFooter"), "&C&\"Nirmala UI,Regular\"सरकार");
  EXPECT_EQ(Query(sheet, "//firstFooter"), "&L&\"Arial,Regular\"Page &P");
  EXPECT_EQ(Query(sheet, "//headerFooter/@differentFirst"), "1");
  const auto again = Convert(result->output->AsParts());
  EXPECT_TRUE(again->output->written.empty()) << *again->output->written.begin();
}

std::string ChartXml(const std::string& series, const std::string& textProperties) {
  return R"(<c:chartSpace xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart" )"
         R"(xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main"><c:chart><c:plotArea><c:barChart>)" +
         series + "</c:barChart></c:plotArea></c:chart>" + textProperties + "</c:chartSpace>";
}

std::string StringReference(const std::string& range, const std::vector<std::string>& values) {
  std::string xml = "<c:strRef><c:f>" + range + "</c:f><c:strCache><c:ptCount val=\"" +
                    std::to_string(values.size()) + "\"/>";
  for (std::size_t i = 0; i < values.size(); ++i)
    xml += "<c:pt idx=\"" + std::to_string(i) + "\"><c:v>" + values[i] + "</c:v></c:pt>";
  return xml + "</c:strCache></c:strRef>";
}

constexpr char kPreetiTextProperties[] =
    R"(<c:txPr><a:bodyPr/><a:lstStyle/><a:p><a:pPr><a:defRPr sz="1000"><a:latin typeface="Preeti"/></a:defRPr></a:pPr>)"
    R"(<a:endParaRPr lang="en-US"/></a:p></c:txPr>)";

// A chart draws its cached copy of the cells until it is recalculated.
TEST(Xlsx, AChartsCachedCellTextFollowsTheConvertedCellsAndItsTextPropertiesTheirFont) {
  Book book;
  book.strings = "<si><t>g]kfn</t></si><si><t>Total</t></si><si><t>;/sf/</t></si>";
  book.rows = "<row r=\"1\">" + Cell("A1", 1, "0") + Cell("B1", 2, "1") + "</row><row r=\"2\">" +
              Cell("A2", 1, "2") + "<c r=\"B2\"><v>5</v></c></row>";
  const std::string unknownSheet = StringReference("Other!$A$1", {"g]kfn"});
  book.chart = ChartXml(
      "<c:ser><c:idx val=\"0\"/><c:tx>" + StringReference("'g]kfn'!$B$1", {"Total"}) + "</c:tx><c:cat>" +
          StringReference("'g]kfn'!$A$1:$A$2", {"g]kfn", ";/sf/"}) + "</c:cat><c:val><c:numRef><c:f>'g]kfn'!$B$2" +
          "</c:f><c:numCache><c:ptCount val=\"1\"/><c:pt idx=\"0\"><c:v>5</c:v></c:pt></c:numCache></c:numRef></c:val>" +
          "</c:ser><c:ser><c:idx val=\"1\"/><c:tx>" + unknownSheet + "</c:tx></c:ser>",
      kPreetiTextProperties);
  const auto result = Convert(Make(book));
  const std::string chartXml = result->output->Part(kChartName);
  const auto chart = ParseXml(chartXml);
  EXPECT_EQ(Query(chart, "//c:ser[1]/c:tx//c:v"), "Total");
  EXPECT_EQ(Query(chart, "//c:cat//c:pt[@idx='0']/c:v"), "नेपाल");
  EXPECT_EQ(Query(chart, "//c:cat//c:pt[@idx='1']/c:v"), "सरकार");
  EXPECT_EQ(Query(chart, "//c:cat/c:strRef/c:f"), "'g]kfn'!$A$1:$A$2");
  // A range the workbook has no sheet for keeps its cache.
  EXPECT_NE(chartXml.find(unknownSheet), std::string::npos);
  EXPECT_EQ(Query(chart, "//c:txPr//a:defRPr/a:latin/@typeface"), "Nirmala UI");
  EXPECT_EQ(Query(chart, "//c:txPr//a:defRPr/a:cs/@typeface"), "Nirmala UI");
  EXPECT_EQ(Query(chart, "//c:txPr//a:defRPr/@sz"), "1000");

  const auto again = Convert(result->output->AsParts());
  EXPECT_TRUE(again->output->written.empty()) << *again->output->written.begin();
}

TEST(Xlsx, AChartOfCellsThatStayIsCopiedAsItWas) {
  Book book;
  book.strings = "<si><t>g]kfn</t></si><si><t>Total</t></si>";
  book.rows = "<row r=\"1\">" + Cell("A1", 2, "0") + Cell("B1", 1, "0") + "</row>";
  // The cache reads the Arial cell, which stays; the Preeti one beside it
  // converts.
  book.chart = ChartXml("<c:ser><c:tx>" + StringReference("'G]KFN'!A1", {"g]kfn"}) + "</c:tx></c:ser>",
                        kPreetiTextProperties);
  const auto result = Convert(Make(book));
  EXPECT_EQ(Show(*result->output, "B1").text, "नेपाल");
  EXPECT_TRUE(result->output->copied.count(kChartName));
}

TEST(Xlsx, ChartRangesNameASheetAndOneRowOrColumn) {
  const std::pair<const char*, std::optional<std::pair<std::string, std::string>>> cases[] = {
      {"Sheet1!$A$2:$A$5", std::pair<std::string, std::string>{"Sheet1", "A2:A5"}},
      {"'Sales 2080'!B3", std::pair<std::string, std::string>{"Sales 2080", "B3:B3"}},
      {"'O''Brien'!$C$1:$E$1", std::pair<std::string, std::string>{"O'Brien", "C1:E1"}},
      {"Sheet1!$XFD$1048576", std::pair<std::string, std::string>{"Sheet1", "XFD1048576:XFD1048576"}},
      {"Sheet1!$XFE$1", std::nullopt},
      {"Sheet1!$A$0", std::nullopt},
      {"[1]Sheet1!$A$1", std::nullopt},
      {"(Sheet1!$A$1,Sheet1!$A$3)", std::nullopt},
      {"MyName", std::nullopt},
      {"'Unclosed!$A$1", std::nullopt},
  };
  auto column = [](std::uint32_t n) {
    std::string letters;
    for (; n > 0; n = (n - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
  };
  for (const auto& [text, expected] : cases) {
    const std::optional<SheetRange> range = ParseSheetRange(text);
    ASSERT_EQ(range.has_value(), expected.has_value()) << text;
    if (!range) continue;
    EXPECT_EQ(range->sheet, expected->first) << text;
    const CellRange& r = range->range;
    EXPECT_EQ(column(r.first.column) + std::to_string(r.first.row) + ":" + column(r.last.column) +
                  std::to_string(r.last.row),
              expected->second)
        << text;
  }
}

}  // namespace
}  // namespace lk::documents
