// Presentations built by hand: fonts set once on the master, through the
// layout's placeholders, the theme and the presentation's defaults; split
// runs, notes, tables, groups, charts, SmartArt, a second conversion.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "documents/document_file.h"
#include "documents/sheets_and_slides.h"
#include "unit/office_parts_fixture.h"

namespace lk::documents {
namespace {

using convert::Direction;
using testing::MemoryOutput;
using testing::MemoryParts;
using testing::ParseXml;
using testing::Query;

constexpr char kNamespaces[] =
    R"(xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" )"
    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" )"
    R"(xmlns:p="http://schemas.openxmlformats.org/presentationml/2006/main")";
constexpr char kSlide[] = "ppt/slides/slide1.xml";

std::string Levels(const std::string& level1, const std::string& level2 = "") {
  std::string xml;
  if (!level1.empty()) xml += R"(<a:lvl1pPr><a:defRPr><a:latin typeface=")" + level1 + R"("/></a:defRPr></a:lvl1pPr>)";
  if (!level2.empty()) xml += R"(<a:lvl2pPr><a:defRPr><a:latin typeface=")" + level2 + R"("/></a:defRPr></a:lvl2pPr>)";
  return xml;
}

std::string TextRun(const std::string& text, const std::string& properties = "") {
  return R"(<a:r><a:rPr lang="en-US" dirty="0">)" + properties + "</a:rPr><a:t>" + text + "</a:t></a:r>";
}

std::string Paragraph(const std::string& runs, const std::string& pPr = "") {
  return "<a:p>" + pPr + runs + "</a:p>";
}

std::string Shape(const std::string& placeholder, const std::string& paragraphs, const std::string& listStyle = "",
                  const std::string& style = "") {
  return R"(<p:sp><p:nvSpPr><p:cNvPr id="2" name="S"/><p:cNvSpPr/><p:nvPr>)" + placeholder +
         "</p:nvPr></p:nvSpPr><p:spPr/>" + style + "<p:txBody><a:bodyPr/><a:lstStyle>" + listStyle + "</a:lstStyle>" +
         paragraphs + "</p:txBody></p:sp>";
}

std::string Tree(const std::string& shapes) {
  return R"(<p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id="1" name=""/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr>)"
         "<p:grpSpPr/>" + shapes + "</p:spTree></p:cSld>";
}

struct Deck {
  std::string major = "Calibri Light", minor = "Calibri";
  std::string masterTitle = "+mj-lt", masterBody = "+mn-lt", masterBody2, masterOther = "+mn-lt";
  std::string layoutBody;  // the layout's body placeholder's level-1 font
  std::string defaults = "+mn-lt";  // the presentation's default text style
  std::string notesStyle = "+mn-lt";
  std::string masterShapes;  // extra text on the master
  std::string slideShapes;
  std::string notes;  // the notes slide's paragraphs; none when empty
  std::string chart, diagram;
};

MemoryParts Make(const Deck& deck) {
  std::vector<std::pair<std::string, std::string>> types{
      {"ppt/presentation.xml", "presentationml.presentation.main+xml"},
      {"ppt/slideMasters/slideMaster1.xml", "presentationml.slideMaster+xml"},
      {"ppt/slideLayouts/slideLayout1.xml", "presentationml.slideLayout+xml"},
      {kSlide, "presentationml.slide+xml"},
      {"ppt/theme/theme1.xml", "theme+xml"},
      {"ppt/notesMasters/notesMaster1.xml", "presentationml.notesMaster+xml"},
      {"ppt/notesSlides/notesSlide1.xml", "presentationml.notesSlide+xml"},
      {"ppt/charts/chart1.xml", "drawingml.chart+xml"},
      {"ppt/diagrams/data1.xml", "drawingml.diagramData+xml"}};
  MemoryParts parts;
  parts.Set("[Content_Types].xml", testing::ContentTypesXml(types));
  parts.Set("_rels/.rels", testing::RelationshipsXml({{"officeDocument", "ppt/presentation.xml"}}));
  parts.Set("ppt/presentation.xml", std::string("<p:presentation ") + kNamespaces +
                                        "><p:defaultTextStyle>" + Levels(deck.defaults) +
                                        "</p:defaultTextStyle></p:presentation>");
  parts.Set("ppt/_rels/presentation.xml.rels",
            testing::RelationshipsXml({{"slideMaster", "slideMasters/slideMaster1.xml"}, {"slide", "slides/slide1.xml"},
                                       {"notesMaster", "notesMasters/notesMaster1.xml"}, {"theme", "theme/theme1.xml"}}));
  parts.Set("ppt/theme/theme1.xml", testing::ThemeXml(deck.major, deck.minor));
  parts.Set("ppt/slideMasters/slideMaster1.xml",
            std::string("<p:sldMaster ") + kNamespaces + ">" +
                Tree(Shape(R"(<p:ph type="title"/>)", Paragraph(TextRun("Title"))) +
                     Shape(R"(<p:ph type="body" idx="1"/>)", Paragraph(TextRun("Body"))) + deck.masterShapes) +
                "<p:txStyles><p:titleStyle>" + Levels(deck.masterTitle) + "</p:titleStyle><p:bodyStyle>" +
                Levels(deck.masterBody, deck.masterBody2) + "</p:bodyStyle><p:otherStyle>" + Levels(deck.masterOther) +
                "</p:otherStyle></p:txStyles></p:sldMaster>");
  parts.Set("ppt/slideMasters/_rels/slideMaster1.xml.rels",
            testing::RelationshipsXml({{"slideLayout", "../slideLayouts/slideLayout1.xml"}, {"theme", "../theme/theme1.xml"}}));
  parts.Set("ppt/slideLayouts/slideLayout1.xml",
            std::string("<p:sldLayout ") + kNamespaces + ">" +
                Tree(Shape(R"(<p:ph type="title"/>)", Paragraph("")) +
                     Shape(R"(<p:ph idx="1"/>)", Paragraph(""), Levels(deck.layoutBody))) +
                "</p:sldLayout>");
  parts.Set("ppt/slideLayouts/_rels/slideLayout1.xml.rels",
            testing::RelationshipsXml({{"slideMaster", "../slideMasters/slideMaster1.xml"}}));
  parts.Set(kSlide, std::string("<p:sld ") + kNamespaces +
                        R"( xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006")"
                        R"( xmlns:p14="http://schemas.microsoft.com/office/powerpoint/2010/main" mc:Ignorable="p14">)" +
                        Tree(deck.slideShapes) + "</p:sld>");
  parts.Set("ppt/slides/_rels/slide1.xml.rels",
            testing::RelationshipsXml({{"slideLayout", "../slideLayouts/slideLayout1.xml"},
                                       {"notesSlide", "../notesSlides/notesSlide1.xml"}}));
  parts.Set("ppt/notesMasters/notesMaster1.xml",
            std::string("<p:notesMaster ") + kNamespaces + ">" +
                Tree(Shape(R"(<p:ph type="body" idx="1"/>)", Paragraph(""))) + "<p:notesStyle>" +
                Levels(deck.notesStyle) + "</p:notesStyle></p:notesMaster>");
  parts.Set("ppt/notesMasters/_rels/notesMaster1.xml.rels", testing::RelationshipsXml({{"theme", "../theme/theme1.xml"}}));
  parts.Set("ppt/notesSlides/notesSlide1.xml", std::string("<p:notes ") + kNamespaces + ">" +
                                                   Tree(Shape(R"(<p:ph type="body" idx="1"/>)", deck.notes)) +
                                                   "</p:notes>");
  parts.Set("ppt/notesSlides/_rels/notesSlide1.xml.rels",
            testing::RelationshipsXml({{"notesMaster", "../notesMasters/notesMaster1.xml"}, {"slide", "../slides/slide1.xml"}}));
  parts.Set("ppt/charts/chart1.xml", deck.chart.empty() ? "<c:chartSpace xmlns:c=\"c\"/>" : deck.chart);
  parts.Set("ppt/diagrams/data1.xml", deck.diagram.empty() ? "<dgm:dataModel xmlns:dgm=\"d\"/>" : deck.diagram);
  return parts;
}

std::unique_ptr<testing::Converted> Convert(MemoryParts parts, Direction direction = Direction::kToUnicode) {
  return testing::ConvertInMemory(ConvertPptxParts, std::move(parts), direction);
}

// The runs of a part as "text@latin" ("text" alone for a run naming no
// Latin font), in order.
std::vector<std::string> Runs(const MemoryOutput& output, const std::string& part) {
  const auto document = ParseXml(output.Part(part));
  std::vector<std::string> runs;
  for (pugi::xpath_node run : document.select_nodes("//a:r")) {
    std::string shown = run.node().child("a:t").text().get();
    if (const char* latin = run.node().select_node("a:rPr/a:latin/@typeface").attribute().value(); *latin)
      shown += std::string("@") + latin;
    runs.push_back(shown);
  }
  return runs;
}

TEST(Pptx, ARunNamingNoFontTakesItThroughTheSlidesInheritance) {
  struct Case {
    const char* name;
    std::function<void(Deck&)> set;
    std::string shapes;
    std::vector<std::string> runs;
  };
  const std::string body = R"(<p:ph idx="1"/>)";
  const Case cases[] = {
      {"Preeti set once in the master's body style", [](Deck& d) { d.masterBody = "Preeti"; },
       Shape(body, Paragraph(TextRun("g]kfn"))), {"नेपाल@Nirmala UI"}},
      {"the master's title style names the theme's heading font, which is Preeti",
       [](Deck& d) { d.major = "Preeti"; }, Shape(R"(<p:ph type="ctrTitle"/>)", Paragraph(TextRun(";/sf/"))),
       {"सरकार@Nirmala UI"}},
      {"the layout's placeholder, found by index, wins over the master",
       [](Deck& d) { d.layoutBody = "Preeti"; d.masterBody = "Arial"; }, Shape(body, Paragraph(TextRun("g]kfn"))),
       {"नेपाल@Nirmala UI"}},
      {"an English layout placeholder wins over a Preeti master",
       [](Deck& d) { d.layoutBody = "Arial"; d.masterBody = "Preeti"; }, Shape(body, Paragraph(TextRun("Hello"))),
       {"Hello"}},
      {"the run's own font wins", [](Deck& d) { d.masterBody = "Preeti"; },
       Shape(body, Paragraph(TextRun("Hello", R"(<a:latin typeface="Arial"/>)"))), {"Hello@Arial"}},
      {"the shape's list style wins over the master", [](Deck& d) { d.masterBody = "Preeti"; },
       Shape(body, Paragraph(TextRun("Hello")), Levels("Arial")), {"Hello"}},
      {"the paragraph's default run properties",
       [](Deck&) {},
       Shape("", Paragraph(TextRun("g]kfn"), R"(<a:pPr><a:defRPr><a:latin typeface="Preeti"/></a:defRPr></a:pPr>)")),
       {"नेपाल@Nirmala UI"}},
      {"the paragraph's level picks the level's style",
       [](Deck& d) { d.masterBody = "Arial"; d.masterBody2 = "Preeti"; },
       Shape(body, Paragraph(TextRun("Hello")) + Paragraph(TextRun("g]kfn"), R"(<a:pPr lvl="1"/>)")),
       {"Hello", "नेपाल@Nirmala UI"}},
      {"a text box takes the presentation's defaults", [](Deck& d) { d.defaults = "Preeti"; },
       Shape("", Paragraph(TextRun("g]kfn"))), {"नेपाल@Nirmala UI"}},
      {"a text box's default body font is the theme's", [](Deck& d) { d.minor = "PREETI"; },
       Shape("", Paragraph(TextRun("g]kfn"))), {"नेपाल@Nirmala UI"}},
      {"symbol characters drawn in a Preeti a:sym", [](Deck&) {},
       Shape("", Paragraph(TextRun("\uF067\uF05D\uF06B\uF066\uF06E",
                                   R"(<a:latin typeface="Arial"/><a:sym typeface="Preeti"/>)"))),
       {"नेपाल@Nirmala UI"}},
      {"a grouped shape", [](Deck& d) { d.defaults = "Preeti"; },
       R"(<p:grpSp><p:nvGrpSpPr><p:cNvPr id="5" name="G"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr><p:grpSpPr/>)" +
           Shape("", Paragraph(TextRun("g]kfn"))) + "</p:grpSp>",
       {"नेपाल@Nirmala UI"}},
      {"a table cell", [](Deck&) {},
       R"(<p:graphicFrame><p:nvGraphicFramePr><p:cNvPr id="4" name="T"/><p:cNvGraphicFramePr/><p:nvPr/></p:nvGraphicFramePr>)"
       R"(<a:graphic><a:graphicData><a:tbl><a:tr h="1"><a:tc><a:txBody><a:bodyPr/><a:lstStyle/>)" +
           Paragraph(TextRun(";/sf/", R"(<a:latin typeface="Preeti"/>)")) + Paragraph(TextRun("Total")) +
           "</a:txBody></a:tc></a:tr></a:tbl></a:graphicData></a:graphic></p:graphicFrame>",
       {"सरकार@Nirmala UI", "Total"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Deck deck;
    c.set(deck);
    deck.slideShapes = c.shapes;
    const auto result = Convert(Make(deck));
    EXPECT_EQ(Runs(*result->output, kSlide), c.runs);
  }
}

TEST(Pptx, SyllablesSplitBetweenRunsJoinButNotAcrossALineBreak) {
  Deck deck;
  deck.masterBody = "Preeti";
  deck.slideShapes = Shape(R"(<p:ph idx="1"/>)", Paragraph(TextRun("l") + TextRun("stfa", "<a:b/>")) +
                                                     Paragraph(TextRun("sd") + TextRun("{")) +
                                                     Paragraph(TextRun("g]kfn") + "<a:br/>" + TextRun("l")));
  const auto result = Convert(Make(deck));
  EXPECT_EQ(Runs(*result->output, kSlide),
            (std::vector<std::string>{"@Nirmala UI", "किताब@Nirmala UI", "कर्म@Nirmala UI", "@Nirmala UI",
                                      "नेपाल@Nirmala UI", "ि@Nirmala UI"}));
}

TEST(Pptx, NewFontSlotsGoWhereTheSequencePutsThemAndTheLegacySymbolFontGoes) {
  Deck deck;
  deck.slideShapes = Shape(
      "", Paragraph(TextRun("g]kfn", R"(<a:ln w="1"/><a:solidFill><a:srgbClr val="FF0000"/></a:solidFill>)"
                                 R"(<a:highlight><a:srgbClr val="FFFF00"/></a:highlight><a:latin typeface="Preeti" )"
                                 R"(pitchFamily="2" charset="0"/><a:sym typeface="Preeti"/><a:hlinkClick r:id=""/>)"
                                 R"(<a:extLst/>)") +
                        R"(<a:endParaRPr lang="en-US"><a:latin typeface="Preeti"/></a:endParaRPr>)"));
  const auto result = Convert(Make(deck));
  const auto slide = ParseXml(result->output->Part(kSlide));
  const pugi::xml_node properties = slide.select_node("//a:r/a:rPr").node();
  std::vector<std::string> order;
  for (pugi::xml_node child : properties.children()) order.push_back(child.name());
  EXPECT_EQ(order, (std::vector<std::string>{"a:ln", "a:solidFill", "a:highlight", "a:latin", "a:ea", "a:cs",
                                             "a:hlinkClick", "a:extLst"}));
  for (const char* slot : {"a:latin", "a:ea", "a:cs"}) {
    EXPECT_EQ(std::string(properties.child(slot).attribute("typeface").value()), "Nirmala UI") << slot;
    EXPECT_FALSE(properties.child(slot).attribute("charset")) << slot;
  }
  EXPECT_EQ(std::string(properties.attribute("lang").value()), "ne-NP");
  // Text typed after the converted run takes the end mark's font.
  EXPECT_EQ(Query(slide, "//a:endParaRPr/a:latin/@typeface"), "Nirmala UI");
  EXPECT_EQ(Query(slide, "//a:endParaRPr/a:cs/@typeface"), "Nirmala UI");
  // The slide's own namespace declarations and mc:Ignorable are kept.
  EXPECT_EQ(std::string(slide.document_element().attribute("mc:Ignorable").value()), "p14");
  EXPECT_TRUE(slide.document_element().attribute("xmlns:p14"));
}

TEST(Pptx, MastersLayoutsNotesChartsAndSmartArtConvert) {
  Deck deck;
  deck.masterTitle = "Preeti";
  deck.notesStyle = "Preeti";
  deck.masterShapes = Shape(R"(<p:ph type="dt" idx="2"/>)", Paragraph(TextRun("g]kfn")));
  deck.masterOther = "Preeti";
  deck.notes = Paragraph(TextRun(";/sf/"));
  deck.slideShapes = Shape(R"(<p:ph type="title"/>)", Paragraph(TextRun("g]kfn")));
  deck.chart =
      R"(<c:chartSpace xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart" )"
      R"(xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main"><c:chart><c:title><c:tx><c:rich><a:bodyPr/>)" +
      Paragraph(TextRun("g]kfn", R"(<a:latin typeface="Preeti"/>)")) + "</c:rich></c:tx></c:title></c:chart></c:chartSpace>";
  deck.diagram =
      R"(<dgm:dataModel xmlns:dgm="http://schemas.openxmlformats.org/drawingml/2006/diagram" )"
      R"(xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main"><dgm:ptLst><dgm:pt modelId="1"><dgm:t><a:bodyPr/>)"
      R"(<a:lstStyle/>)" + Paragraph(TextRun(";/sf/", R"(<a:latin typeface="Preeti"/>)")) +
      "</dgm:t></dgm:pt></dgm:ptLst></dgm:dataModel>";
  const auto result = Convert(Make(deck));
  const MemoryOutput& out = *result->output;
  EXPECT_EQ(Runs(out, kSlide), (std::vector<std::string>{"नेपाल@Nirmala UI"}));
  // The master's own title and its date placeholder (other text).
  EXPECT_EQ(Runs(out, "ppt/slideMasters/slideMaster1.xml"),
            (std::vector<std::string>{"त्ष्तभि@Nirmala UI", "Body", "नेपाल@Nirmala UI"}));
  EXPECT_EQ(Runs(out, "ppt/notesSlides/notesSlide1.xml"), (std::vector<std::string>{"सरकार@Nirmala UI"}));
  EXPECT_EQ(Runs(out, "ppt/charts/chart1.xml"), (std::vector<std::string>{"नेपाल@Nirmala UI"}));
  EXPECT_EQ(Runs(out, "ppt/diagrams/data1.xml"), (std::vector<std::string>{"सरकार@Nirmala UI"}));
  // Parts with nothing to convert are copied as they were.
  for (const char* kept : {"ppt/presentation.xml", "ppt/theme/theme1.xml", "ppt/slideLayouts/slideLayout1.xml",
                           "ppt/slides/_rels/slide1.xml.rels", "[Content_Types].xml"})
    EXPECT_TRUE(out.copied.count(kept)) << kept;
}

TEST(Pptx, ConvertingTheOutputAgainChangesNothing) {
  Deck deck;
  deck.masterBody = "Preeti";
  deck.notesStyle = "Preeti";
  deck.notes = Paragraph(TextRun(";/sf/"));
  deck.slideShapes = Shape(R"(<p:ph idx="1"/>)", Paragraph(TextRun("l") + TextRun("stfa")) + Paragraph(TextRun("Hello", R"(<a:latin typeface="Arial"/>)")));
  const auto first = Convert(Make(deck));
  EXPECT_FALSE(first->output->written.empty());
  const auto second = Convert(first->output->AsParts());
  EXPECT_TRUE(second->output->written.empty()) << *second->output->written.begin();
  EXPECT_EQ(second->tally.convertedRuns, 0u);
}

TEST(Pptx, ToLegacyOnlyTheDevanagariOfARunTakesTheFamily) {
  Deck deck;
  deck.masterBody = "Preeti";
  deck.slideShapes = Shape("", Paragraph(TextRun("नेपाल Hello", "<a:solidFill/>"))) +
                     Shape(R"(<p:ph idx="1"/>)", Paragraph(TextRun("g]kfn")));
  const auto result = Convert(Make(deck), Direction::kToLegacy);
  EXPECT_EQ(Runs(*result->output, kSlide), (std::vector<std::string>{"g]kfn@Preeti", " Hello", "g]kfn"}));
  const auto slide = ParseXml(result->output->Part(kSlide));
  EXPECT_TRUE(slide.select_node("//a:r[2]/a:rPr/a:solidFill"));  // the English part keeps its look
}

TEST(Pptx, ACancelStopsTheConversion) {
  MemoryParts parts = Make(Deck{});
  MemoryOutput output(parts);
  std::atomic<bool> cancel{true};
  Tally tally;
  EXPECT_THROW(ConvertPptxParts(parts, output, ConvertSettings{}, tally, &cancel), Cancelled);
  EXPECT_TRUE(output.parts.empty());
}

TEST(Pptx, MalformedPartsAreRefusedByName) {
  MemoryParts parts = Make(Deck{});
  parts.Set("ppt/slideLayouts/slideLayout1.xml", "<p:sldLayout><p:cSld>");
  try {
    Convert(std::move(parts));
    FAIL() << "malformed layout accepted";
  } catch (const DocumentError& error) {
    EXPECT_NE(std::string(error.what()).find("slideLayout1.xml"), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace lk::documents

