// Word parts converted run by run, checked by reading the XML we write:
// the text and fonts of every run, the order of their properties, and what
// must come out as it came (namespaces, declarations, field codes, English).
#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <string>
#include <vector>

#include "convert/converter.h"
#include "documents/document_file.h"
#include "documents/docx_package_parts.h"
#include "documents/docx_part.h"
#include "documents/docx_styles.h"
#include "pugixml.hpp"

namespace lk::documents::docx {
namespace {

using convert::Direction;

constexpr const char* kDeclaration = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";
// The namespaces Word declares, mc:Ignorable naming two of them.
constexpr const char* kNamespaces =
    R"( xmlns:wpc="http://schemas.microsoft.com/office/word/2010/wordprocessingCanvas")"
    R"( xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006")"
    R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")"
    R"( xmlns:v="urn:schemas-microsoft-com:vml")"
    R"( xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing")"
    R"( xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main")"
    R"( xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")"
    R"( xmlns:w14="http://schemas.microsoft.com/office/word/2010/wordml")"
    R"( xmlns:wps="http://schemas.microsoft.com/office/word/2010/wordprocessingShape")"
    R"( mc:Ignorable="w14 wp14")";

std::string Part(const std::string& root, const std::string& content) {
  return std::string(kDeclaration) + "\r\n<w:" + root + kNamespaces + ">" + content + "</w:" + root + ">";
}
std::string Body(const std::string& paragraphs) { return Part("document", "<w:body>" + paragraphs + "</w:body>"); }

// A run in a font given directly; "" for none.
std::string R(const std::string& text, const std::string& font = "Preeti", const std::string& more = "") {
  std::string run = "<w:r>";
  if (!font.empty() || !more.empty()) {
    run += "<w:rPr>";
    if (!font.empty()) run += R"(<w:rFonts w:ascii=")" + font + R"(" w:hAnsi=")" + font + R"("/>)";
    run += more + "</w:rPr>";
  }
  return run + "<w:t>" + text + "</w:t></w:r>";
}
std::string P(const std::string& content) { return "<w:p>" + content + "</w:p>"; }

ConvertSettings To(Direction direction) {
  ConvertSettings settings;
  settings.direction = direction;
  return settings;
}

// The part after conversion (as it was when nothing changed).
std::string Convert(const std::string& xml, const WordFonts& fonts = {}, Direction direction = Direction::kToUnicode,
                    Tally* tallyOut = nullptr) {
  Tally tally;
  std::optional<std::string> out = ConvertWordXml(xml, "word/document.xml", fonts, To(direction), tally);
  if (tallyOut) *tallyOut = tally;
  return out ? *out : xml;
}

struct RunView {
  std::string text;  // w:t and w:delText, tabs as \t
  std::string ascii, hAnsi, cs, eastAsia;
  bool theme = false;  // some theme attribute left on w:rFonts
  std::vector<std::string> properties;  // w:rPr's children, in order
};

// Every w:r of a part, in document order.
std::vector<RunView> Runs(const std::string& xml) {
  pugi::xml_document doc;
  EXPECT_TRUE(doc.load_string(xml.c_str(), pugi::parse_default | pugi::parse_ws_pcdata)) << xml;
  std::vector<RunView> runs;
  for (const pugi::xpath_node& found : doc.select_nodes("//w:r")) {
    const pugi::xml_node run = found.node();
    RunView view;
    for (pugi::xml_node c : run.children()) {
      const std::string name = c.name();
      if (name == "w:t" || name == "w:delText") view.text += c.text().get();
      if (name == "w:tab") view.text += '\t';
    }
    const pugi::xml_node fonts = run.child("w:rPr").child("w:rFonts");
    view.ascii = fonts.attribute("w:ascii").value();
    view.hAnsi = fonts.attribute("w:hAnsi").value();
    view.cs = fonts.attribute("w:cs").value();
    view.eastAsia = fonts.attribute("w:eastAsia").value();
    for (const char* theme : {"w:asciiTheme", "w:hAnsiTheme", "w:cstheme", "w:eastAsiaTheme"})
      view.theme = view.theme || fonts.attribute(theme);
    for (pugi::xml_node c : run.child("w:rPr").children()) view.properties.push_back(c.name());
    runs.push_back(view);
  }
  return runs;
}

std::vector<std::string> Texts(const std::string& xml) {
  std::vector<std::string> texts;
  for (const RunView& run : Runs(xml)) texts.push_back(run.text);
  return texts;
}

bool InUnicodeFont(const RunView& run) {
  return run.ascii == "Nirmala UI" && run.hAnsi == "Nirmala UI" && run.cs == "Nirmala UI" &&
         run.eastAsia == "Nirmala UI" && !run.theme;
}

using Strings = std::vector<std::string>;

TEST(DocxRuns, SyllablesSplitBetweenRunsConvertAsOneTextAcrossUnseenMarks) {
  struct Case {
    std::string paragraph;
    Strings texts;
  };
  const Case cases[] = {
      {P(R("l") + R("stfa")), {"किताब"}},  // i-kar before its consonant
      {P(R("sd") + R("{")), {"कर्म"}},     // reph after its cluster
      {P(R("l") + R"(<w:proofErr w:type="spellStart"/>)" + R("stfa") + R"(<w:proofErr w:type="spellEnd"/>)"),
       {"किताब"}},
      {P(R("l") + R"(<w:bookmarkStart w:id="0" w:name="x"/><w:commentRangeStart w:id="1"/>)" + R("stfa") +
         R"(<w:bookmarkEnd w:id="0"/>)"),
       {"किताब"}},
      // runs inside a hyperlink and a tracked insertion join their neighbours
      {P(R("l") + R"(<w:hyperlink r:id="rId9">)" + R("stfa") + "</w:hyperlink>"), {"किताब"}},
      {P(R"(<w:ins w:id="3" w:author="a">)" + R("sd") + "</w:ins>" + R("{")), {"कर्म"}},
  };
  for (const Case& c : cases) {
    const std::string out = Convert(Body(c.paragraph));
    EXPECT_EQ(Texts(out), c.texts) << c.paragraph;
    for (const RunView& run : Runs(out)) EXPECT_TRUE(InUnicodeFont(run)) << out;
  }
}

TEST(DocxRuns, WhatAReaderSeesBetweenRunsKeepsTheirSyllablesApart) {
  // The i-kar stays where it was typed instead of moving past the object.
  const std::string drawing = R"(<w:r><w:drawing><wp:inline><a:graphic/></wp:inline></w:drawing></w:r>)";
  const std::string note = R"(<w:r><w:footnoteReference w:id="2"/></w:r>)";
  const std::string field = R"(<w:r><w:fldChar w:fldCharType="begin"/></w:r>)";
  const std::string ptab = R"(<w:r><w:ptab w:relativeTo="margin" w:alignment="right" w:leader="none"/></w:r>)";
  for (const std::string& between : {drawing, note, field, ptab}) {
    const Strings texts = Texts(Convert(Body(P(R("l") + between + R("s")))));
    ASSERT_EQ(texts.size(), 3u) << between;
    EXPECT_NE(texts[0], "") << between;
    EXPECT_EQ(texts[2], "क") << between;
  }
  // A simple field's result is a text of its own.
  const Strings texts = Texts(Convert(Body(P(R("l") + R"(<w:fldSimple w:instr=" PAGE ">)" + R("s") + "</w:fldSimple>"))));
  EXPECT_EQ(texts[1], "क");
  EXPECT_NE(texts[0], "");
}

TEST(DocxRuns, FontsAreResolvedThroughStylesDefaultsAndThemes) {
  const std::string theme =
      R"(<a:theme xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main"><a:themeElements>)"
      R"(<a:fontScheme name="x"><a:majorFont><a:latin typeface="Preeti"/><a:ea typeface=""/><a:cs typeface=""/>)"
      R"(</a:majorFont><a:minorFont><a:latin typeface="Calibri"/><a:ea typeface=""/><a:cs typeface=""/>)"
      R"(</a:minorFont></a:fontScheme></a:themeElements></a:theme>)";
  auto styles = [](const std::string& defaults, const std::string& more) {
    return Part("styles", "<w:docDefaults><w:rPrDefault><w:rPr>" + defaults +
                              "</w:rPr></w:rPrDefault></w:docDefaults>" + more);
  };
  auto style = [](const std::string& type, const std::string& id, const std::string& inner,
                  const std::string& attributes = "") {
    return R"(<w:style w:type=")" + type + R"(" w:styleId=")" + id + "\"" + attributes + ">" + inner + "</w:style>";
  };
  const std::string preetiFonts = R"(<w:rPr><w:rFonts w:ascii="PREETI " w:hAnsi="Preeti"/></w:rPr>)";
  const std::string timesFonts = R"(<w:rPr><w:rFonts w:ascii="Times New Roman"/></w:rPr>)";
  const std::string themeDefaults = R"(<w:rFonts w:asciiTheme="minorHAnsi" w:hAnsiTheme="minorHAnsi"/>)";
  const std::string preetiDefaults = R"(<w:rFonts w:ascii="Preeti" w:hAnsi="Preeti"/>)";
  auto plain = [](const std::string& pPr, const std::string& rPr = "") {
    return "<w:p>" + pPr + "<w:r>" + rPr + "<w:t>g]kfn</w:t></w:r></w:p>";
  };
  const std::string preetiBody = style("paragraph", "PreetiBody", preetiFonts);
  const std::string child = style("paragraph", "Quote", R"(<w:basedOn w:val="PreetiBody"/>)");
  struct Case {
    const char* what;
    std::string styles;
    std::string paragraph;
    bool legacy;
  };
  const Case cases[] = {
      {"paragraph style", styles(themeDefaults, preetiBody), plain(R"(<w:pPr><w:pStyle w:val="PreetiBody"/></w:pPr>)"),
       true},
      {"basedOn chain", styles(themeDefaults, preetiBody + child),
       plain(R"(<w:pPr><w:pStyle w:val="Quote"/></w:pPr>)"), true},
      {"character style over paragraph style", styles(themeDefaults, preetiBody + style("character", "En", timesFonts)),
       plain(R"(<w:pPr><w:pStyle w:val="PreetiBody"/></w:pPr>)", R"(<w:rPr><w:rStyle w:val="En"/></w:rPr>)"), false},
      {"character style", styles(themeDefaults, style("character", "Np", preetiFonts)),
       plain("", R"(<w:rPr><w:rStyle w:val="Np"/></w:rPr>)"), true},
      {"default paragraph style", styles(themeDefaults, style("paragraph", "Normal", preetiFonts, R"( w:default="1")")),
       plain(""), true},
      {"document defaults", styles(preetiDefaults, ""), plain(""), true},
      {"direct over defaults", styles(preetiDefaults, ""), plain("", timesFonts), false},
      {"theme default (Calibri)", styles(themeDefaults, ""), plain(""), false},
      {"theme attribute over a name", styles(preetiDefaults, ""),
       plain("", R"(<w:rPr><w:rFonts w:ascii="Preeti" w:asciiTheme="minorHAnsi"/></w:rPr>)"), false},
      {"a name over an inherited theme", styles(themeDefaults, ""),
       plain("", R"(<w:rPr><w:rFonts w:ascii="Preeti"/></w:rPr>)"), true},
      {"a theme whose major font is legacy", styles(themeDefaults, ""),
       plain("", R"(<w:rPr><w:rFonts w:asciiTheme="majorHAnsi"/></w:rPr>)"), true},
      {"table style", styles(themeDefaults, style("table", "Grid", preetiFonts)),
       R"(<w:tbl><w:tblPr><w:tblStyle w:val="Grid"/></w:tblPr><w:tr><w:tc>)" + plain("") + "</w:tc></w:tr></w:tbl>",
       true},
      {"a basedOn loop ends", styles(themeDefaults, style("paragraph", "A", R"(<w:basedOn w:val="B"/>)") +
                                                        style("paragraph", "B", R"(<w:basedOn w:val="A"/>)")),
       plain(R"(<w:pPr><w:pStyle w:val="A"/></w:pPr>)"), false},
  };
  for (const Case& c : cases) {
    const WordFonts fonts(c.styles, "word/styles.xml", theme, "word/theme/theme1.xml");
    const Strings texts = Texts(Convert(Body(c.paragraph), fonts));
    ASSERT_EQ(texts.size(), 1u) << c.what;
    EXPECT_EQ(texts[0], c.legacy ? "नेपाल" : "g]kfn") << c.what;
  }
}

TEST(DocxRuns, EveryKindOfTextInARunConvertsAndFieldCodesDoNot) {
  struct Case {
    const char* what;
    std::string paragraph;
    Strings texts;
  };
  const std::string preeti = R"(<w:rPr><w:rFonts w:ascii="Preeti" w:hAnsi="Preeti"/></w:rPr>)";
  const std::string times = R"(<w:rPr><w:rFonts w:ascii="Times New Roman" w:hAnsi="Times New Roman"/></w:rPr>)";
  const Case cases[] = {
      {"several texts, a tab and a break in one run",
       P("<w:r>" + preeti + "<w:t>g]</w:t><w:t>kfn</w:t><w:tab/><w:t>;/sf/</w:t><w:br/></w:r>"), {"नेपाल\tसरकार"}},
      {"deleted text of a tracked change",
       P(R"(<w:del w:id="1" w:author="a"><w:r>)" + preeti + "<w:delText>g]kfn</w:delText></w:r></w:del>"),
       {"नेपाल"}},
      {"a symbol character of the family", P("<w:r>" + preeti + R"(<w:sym w:font="Preeti" w:char="F06E"/></w:r>)"),
       {convert::ToUnicode("n")}},
      {"a symbol font's code in the text", P("<w:r>" + preeti + "<w:t>\xEF\x81\xAE</w:t></w:r>"),
       {convert::ToUnicode("n")}},
      {"AutoCorrect's quote for a typed u-kar", P(R("s’")), {"कु"}},
      {"a content control, a smart tag and custom XML",
       P(R"(<w:sdt><w:sdtPr><w:alias w:val="x"/></w:sdtPr><w:sdtContent>)" + R("g]") +
         R"(</w:sdtContent></w:sdt><w:smartTag w:uri="u" w:element="e">)" + R("kfn") +
         R"(</w:smartTag><w:customXml w:element="c">)" + R(";/sf/") + "</w:customXml>"),
       {"ने", "पाल", "सरकार"}},
      {"a move", P(R"(<w:moveTo w:id="4" w:author="a">)" + R("g]kfn") + "</w:moveTo>"), {"नेपाल"}},
      {"English beside Preeti", P("<w:r>" + times + "<w:t>Hello</w:t></w:r>" + R("g]kfn")), {"Hello", "नेपाल"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Texts(Convert(Body(c.paragraph))), c.texts) << c.what;

  // A field code keeps its text and its run keeps its font.
  const std::string instr = "<w:r>" + preeti + R"(<w:instrText xml:space="preserve"> HYPERLINK "g]kfn" </w:instrText></w:r>)";
  const std::string out = Convert(Body(P(R"(<w:r><w:fldChar w:fldCharType="begin"/></w:r>)" + instr +
                                         R"(<w:r><w:fldChar w:fldCharType="separate"/></w:r>)" + R("g]kfn") +
                                         R"(<w:r><w:fldChar w:fldCharType="end"/></w:r>)")));
  EXPECT_NE(out.find(instr), std::string::npos) << out;
  EXPECT_EQ(Runs(out)[3].text, "नेपाल");

  // A symbol of the family in an English run becomes a run of its own.
  const std::string symbol =
      Convert(Body(P("<w:r>" + times + R"(<w:t>A</w:t><w:sym w:font="Preeti" w:char="F06E"/><w:t>B</w:t></w:r>)")));
  const std::vector<RunView> runs = Runs(symbol);
  ASSERT_EQ(runs.size(), 3u) << symbol;
  EXPECT_EQ(runs[0].text, "A");
  EXPECT_EQ(runs[0].ascii, "Times New Roman");
  EXPECT_EQ(runs[1].text, convert::ToUnicode("n"));
  EXPECT_TRUE(InUnicodeFont(runs[1]));
  EXPECT_EQ(runs[2].text, "B");
  EXPECT_EQ(runs[2].ascii, "Times New Roman");
  EXPECT_EQ(symbol.find("w:sym"), std::string::npos);
}

TEST(DocxRuns, TextBoxesConvertAlikeInTheirDrawingAndTheirVmlCopy) {
  const std::string box = "<w:txbxContent>" + P(R("l") + R("stfa")) + "</w:txbxContent>";
  const std::string paragraph =
      P(R("g]kfn") + "<w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing><wp:anchor><a:graphic>"
                     "<a:graphicData><wps:wsp><wps:txbx>" +
        box + "</wps:txbx></wps:wsp></a:graphicData></a:graphic></wp:anchor></w:drawing></mc:Choice><mc:Fallback>"
              "<w:pict><v:shape><v:textbox>" +
        box + "</v:textbox></v:shape></w:pict></mc:Fallback></mc:AlternateContent></w:r>");
  const std::string out = Convert(Body(paragraph));
  EXPECT_EQ(Texts(out), (Strings{"नेपाल", "", "किताब", "किताब"}));
  pugi::xml_document doc;
  doc.load_string(out.c_str());
  const pugi::xpath_node_set boxes = doc.select_nodes("//w:txbxContent");
  ASSERT_EQ(boxes.size(), 2u);
  std::ostringstream choice, fallback;
  boxes[0].node().print(choice, "", pugi::format_raw);
  boxes[1].node().print(fallback, "", pugi::format_raw);
  EXPECT_EQ(choice.str(), fallback.str());
}

TEST(DocxRuns, HeadersFootersNotesAndCommentsConvertAsTheBodyDoes) {
  for (const char* root : {"hdr", "ftr"}) {
    EXPECT_EQ(Texts(Convert(Part(root, P(R("l") + R("stfa"))))), (Strings{"किताब"})) << root;
  }
  const std::string notes = R"(<w:footnote w:type="separator" w:id="-1"><w:p><w:r><w:separator/></w:r></w:p></w:footnote>)"
                            R"(<w:footnote w:id="1"><w:p><w:r><w:footnoteRef/></w:r>)" +
                            R("sd") + R("{") + "</w:p></w:footnote>";
  EXPECT_EQ(Texts(Convert(Part("footnotes", notes))), (Strings{"", "", "कर्म"}));
  EXPECT_EQ(Texts(Convert(Part("comments", R"(<w:comment w:id="0" w:author="a">)" + P(R("g]kfn")) + "</w:comment>"))),
            (Strings{"नेपाल"}));
}

TEST(DocxRuns, EnglishAndConvertedRunsAreLeftAloneSoConvertingTwiceChangesNothing) {
  Tally tally;
  const std::string english = Body(P(R("Hello", "Times New Roman") + R("world", "")));
  EXPECT_FALSE(ConvertWordXml(english, "word/document.xml", {}, To(Direction::kToUnicode), tally));

  const std::string once = Convert(Body(P(R("l") + R("stfa", "Preeti", "<w:b/><w:sz w:val=\"28\"/>") + R(" Hi", "Arial"))));
  EXPECT_FALSE(ConvertWordXml(once, "word/document.xml", {}, To(Direction::kToUnicode), tally)) << once;
  EXPECT_EQ(tally.convertedRuns, 0u);
}

TEST(DocxRuns, AddedPropertiesGoWhereTheSchemaPutsThem) {
  const WordFonts fonts(Part("styles", R"(<w:style w:type="paragraph" w:styleId="Big"><w:rPr><w:b/><w:i/>)"
                                       R"(<w:sz w:val="32"/></w:rPr></w:style>)"),
                        "word/styles.xml", "", "");
  struct Case {
    const char* what;
    std::string pPr;
    std::string rPr;
    Strings properties;
  };
  const std::string big = R"(<w:pPr><w:pStyle w:val="Big"/></w:pPr>)";
  const Case cases[] = {
      {"direct bold, colour, size, underline",
       "", R"(<w:rFonts w:ascii="Preeti" w:hAnsiTheme="minorHAnsi"/><w:b/><w:color w:val="FF0000"/><w:sz w:val="28"/><w:u w:val="single"/>)",
       {"w:rFonts", "w:b", "w:bCs", "w:color", "w:sz", "w:szCs", "w:u", "w:lang"}},
      {"style's bold, italic, size; an extension and a change record after",
       big, R"(<w:rStyle w:val="X"/><w:rFonts w:ascii="Preeti"/><w:w14:ligatures/><w:rPrChange w:id="1"/>)",
       {"w:rStyle", "w:rFonts", "w:bCs", "w:iCs", "w:szCs", "w:lang", "w:w14:ligatures", "w:rPrChange"}},
      {"no properties but the font", "", R"(<w:rFonts w:ascii="Preeti"/>)", {"w:rFonts", "w:lang"}},
      {"a language already there", "", R"(<w:rFonts w:ascii="Preeti"/><w:lang w:val="en-US"/><w:oMath/>)",
       {"w:rFonts", "w:lang", "w:oMath"}},
  };
  for (const Case& c : cases) {
    const std::string out =
        Convert(Body("<w:p>" + c.pPr + "<w:r><w:rPr>" + c.rPr + "</w:rPr><w:t>g]kfn</w:t></w:r></w:p>"), fonts);
    const std::vector<RunView> runs = Runs(out);
    ASSERT_EQ(runs.size(), 1u) << c.what;
    EXPECT_EQ(runs[0].properties, c.properties) << c.what << "\n" << out;
    EXPECT_TRUE(InUnicodeFont(runs[0])) << c.what;
  }
  // Mirrored values and the complex-script language.
  const std::string out = Convert(
      Body(P(R("g]kfn", "Preeti", R"(<w:b w:val="0"/><w:bCs/><w:sz w:val="28"/><w:szCs w:val="20"/>)"))), fonts);
  EXPECT_NE(out.find(R"(<w:bCs w:val="0"/>)"), std::string::npos) << out;
  EXPECT_NE(out.find(R"(<w:szCs w:val="28"/>)"), std::string::npos) << out;
  EXPECT_NE(out.find(R"(<w:lang w:bidi="ne-NP"/>)"), std::string::npos) << out;
}

TEST(DocxRuns, DeclarationNamespacesAndPreservedBlanksComeOutAsTheyCame) {
  const std::string in =
      Body(P(R"(<w:r><w:rPr><w:rFonts w:ascii="Preeti"/></w:rPr><w:t xml:space="preserve"> ;/sf/ </w:t></w:r>)"));
  const std::string out = Convert(in);
  ASSERT_NE(out, in);
  EXPECT_TRUE(out.starts_with(kDeclaration)) << out;
  EXPECT_NE(out.find(std::string("<w:document") + kNamespaces + ">"), std::string::npos) << out;
  EXPECT_NE(out.find(R"(<w:t xml:space="preserve"> सरकार </w:t>)"), std::string::npos) << out;
}

// The part is written element by element around the paragraphs that
// change: whatever holds them (with attribute values that need escaping),
// comments, processing instructions and untouched paragraphs between them
// must come out exactly as they came, wherever the converted run sits.
TEST(DocxRuns, EverythingAroundTheConvertedRunsComesOutByteForByte) {
  const std::string converted = R("g]kfn");
  const std::string english = P(R("Ref. No. &amp; &lt;1&gt;", "Times New Roman"));
  const std::string holder = R"(<w:customXml w:uri="urn:x?a=1&amp;b=&quot;&lt;2&quot;" w:element="row">)";
  const struct {
    const char* where;
    std::string before, after;
  } cases[] = {
      {"first in the body", "<w:body><w:p>", "</w:p>" + english + "</w:body>"},
      {"after a comment and an instruction",
       "<w:body><!-- kept as it is --><?mso-hint keep?>" + english + "<w:p><w:pPr><w:jc w:val=\"both\"/></w:pPr>",
       "</w:p><w:sectPr><w:pgSz w:w=\"11906\"/></w:sectPr></w:body>"},
      {"in a custom element", "<w:body>" + holder + "<w:p>", "</w:p></w:customXml>" + english + "</w:body>"},
      {"in a table", "<w:body><w:tbl><w:tblPr><w:tblW w:w=\"0\"/></w:tblPr><w:tr><w:tc><w:p>",
       "</w:p></w:tc></w:tr></w:tbl></w:body>"},
      {"in a hyperlink, English runs around it",
       "<w:body><w:p><w:pPr><w:pStyle w:val=\"Body\"/></w:pPr>" + R("See ", "Times New Roman") +
           R"(<w:hyperlink r:id="rId5" w:tooltip="a &amp; &quot;b&quot; &lt;c">)",
       "</w:hyperlink>" + R(" here", "Times New Roman") + "</w:p></w:body>"},
      {"in a tracked insertion inside a content control",
       "<w:body><w:p><w:sdt><w:sdtPr><w:alias w:val=\"x\"/></w:sdtPr><w:sdtContent><w:ins w:id=\"3\" "
       "w:author=\"R&amp;D\">",
       "</w:ins></w:sdtContent></w:sdt><w:proofErr w:type=\"spellStart\"/></w:p></w:body>"},
      {"in a text box of an English paragraph",
       "<w:body><w:p>" + R("Box", "Times New Roman") +
           "<w:r><w:pict><v:shape id=\"b&amp;1\"><v:textbox><w:txbxContent><w:p>",
       "</w:p></w:txbxContent></v:textbox></v:shape></w:pict></w:r></w:p>" + english + "</w:body>"},
  };
  for (const auto& c : cases) {
    // (pugixml keeps no blanks outside the root, so the part has none there.)
    const std::string in = std::string(kDeclaration) + "<w:document" + kNamespaces + ">" + c.before + converted +
                           c.after + "</w:document>";
    const std::string out = Convert(in);
    ASSERT_NE(out, in) << c.where;
    const std::size_t head = in.find(converted);
    const std::size_t tail = in.size() - head - converted.size();
    ASSERT_GT(out.size(), head + tail) << c.where;
    EXPECT_EQ(out.substr(0, head), in.substr(0, head)) << c.where;
    EXPECT_EQ(out.substr(out.size() - tail), in.substr(in.size() - tail)) << c.where;
    EXPECT_EQ(Texts(out.substr(head, out.size() - head - tail)), (Strings{"नेपाल"})) << c.where;
  }
}

TEST(DocxRuns, ToLegacyOnlyTheDevanagariOfARunTakesTheFamily) {
  const std::string in = Body(P(R"(<w:r w:rsidR="00AB"><w:rPr><w:rFonts w:ascii="Times New Roman" w:hAnsi="Times New Roman"/><w:b/></w:rPr><w:t>नेपाल Hello सरकार</w:t></w:r>)"));
  const std::string out = Convert(in, {}, Direction::kToLegacy);
  const std::vector<RunView> runs = Runs(out);
  ASSERT_EQ(runs.size(), 3u) << out;
  EXPECT_EQ(runs[0].text, "g]kfn");
  EXPECT_EQ(runs[1].text, " Hello ");
  EXPECT_EQ(runs[2].text, ";/sf/");
  for (int legacy : {0, 2}) {
    EXPECT_EQ(runs[legacy].ascii, "Preeti");
    EXPECT_EQ(runs[legacy].cs, "Preeti");
    EXPECT_EQ(runs[legacy].eastAsia, "Preeti");
    EXPECT_EQ(runs[legacy].properties, (Strings{"w:rFonts", "w:b"}));
  }
  EXPECT_EQ(runs[1].ascii, "Times New Roman");
  EXPECT_NE(out.find(R"(<w:t xml:space="preserve"> Hello </w:t>)"), std::string::npos) << out;
  EXPECT_NE(out.find(R"(<w:r w:rsidR="00AB"><w:rPr><w:rFonts w:ascii="Preeti")"), std::string::npos) << out;
  // The result converts back to what it was.
  EXPECT_EQ(Texts(Convert(out)), (Strings{"नेपाल", " Hello ", "सरकार"}));
  // Text already in a legacy family stays as it is.
  EXPECT_EQ(Convert(Body(P(R("g]kfn"))), {}, Direction::kToLegacy), Body(P(R("g]kfn"))));
}

TEST(DocxRuns, ABrokenPartIsNamedAndACancelIsHeard) {
  Tally tally;
  try {
    ConvertWordXml("<w:document><w:body></w:document>", "word/header2.xml", {}, To(Direction::kToUnicode), tally);
    FAIL() << "no error";
  } catch (const DocumentError& e) {
    EXPECT_NE(std::string(e.what()).find("word/header2.xml"), std::string::npos) << e.what();
  }
  EXPECT_THROW(WordFonts("<w:styles>", "word/styles.xml", "", ""), DocumentError);
  std::string many;
  for (int i = 0; i < 600; ++i) many += P(R("g]kfn"));
  const std::atomic<bool> cancel{true};
  EXPECT_THROW(ConvertWordXml(Body(many), "word/document.xml", {}, To(Direction::kToUnicode), tally, &cancel),
               Cancelled);
}

TEST(DocxPackage, TextPartsAreFoundByContentTypeAndStylesThroughRelationships) {
  const std::string types =
      R"(<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
      R"(<Default Extension="XML" ContentType="application/xml"/>)"
      R"(<Default Extension="png" ContentType="image/png"/>)"
      R"(<Override PartName="/Word/Document.xml" ContentType="application/vnd.ms-word.document.macroEnabled.main+xml"/>)"
      R"(<Override PartName="/word/header1.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml"/>)"
      R"(<Override PartName="/word/footnotes.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.footnotes+xml"/>)"
      R"(<Override PartName="/word/endnotes.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.endnotes+xml"/>)"
      R"(<Override PartName="/word/comments.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.comments+xml"/>)"
      R"(<Override PartName="/word/footer1.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml"/>)"
      R"(<Override PartName="/word/glossary/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.glossary+xml"/>)"
      R"(<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>)"
      R"(</Types>)";
  struct Row {
    const char* name;
    WordPartKind kind;
  };
  const Row rows[] = {
      {"word/document.xml", WordPartKind::kDocument}, {"word/header1.xml", WordPartKind::kText},
      {"word/footer1.xml", WordPartKind::kText},      {"word/footnotes.xml", WordPartKind::kText},
      {"word/endnotes.xml", WordPartKind::kText},     {"word/comments.xml", WordPartKind::kText},
      {"word/glossary/document.xml", WordPartKind::kDocument},
      {"word/styles.xml", WordPartKind::kOther},      {"word/media/image1.png", WordPartKind::kOther},
      {"customXml/item1.xml", WordPartKind::kOther},  {"[Content_Types].xml", WordPartKind::kOther},
  };
  std::vector<PartInfo> parts;
  for (const Row& row : rows) parts.push_back({row.name, 0, 0, false});
  const std::vector<WordPartKind> kinds = ClassifyParts(types, parts);
  for (std::size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(kinds[i], rows[i].kind) << rows[i].name;
  EXPECT_THROW(ClassifyParts("<Types>", parts), DocumentError);

  EXPECT_EQ(RelationshipsPartOf("word/document.xml"), "word/_rels/document.xml.rels");
  const std::string rels =
      R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
      R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink" Target="http://x/styles" TargetMode="External"/>)"
      R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/theme" Target="theme/theme1.xml"/>)"
      R"(<Relationship Id="rId3" Type="http://purl.oclc.org/ooxml/officeDocument/relationships/styles" Target="../word/./styles.xml"/>)"
      R"(</Relationships>)";
  EXPECT_EQ(RelationshipTarget(rels, "r", "word/document.xml", "styles"), "word/styles.xml");
  EXPECT_EQ(RelationshipTarget(rels, "r", "word/document.xml", "theme"), "word/theme/theme1.xml");
  EXPECT_EQ(RelationshipTarget(rels, "r", "word/document.xml", "numbering"), "");
  EXPECT_EQ(ResolveTarget("word/glossary/document.xml", "/word/styles.xml"), "word/styles.xml");
  EXPECT_EQ(ResolveTarget("word/document.xml", "../../../x.xml"), "x.xml");
}

}  // namespace
}  // namespace lk::documents::docx
