// OpenDocument text and spreadsheets and slides, written by hand so that
// they keep split spans: the font each piece of text shows in is found as
// an office suite finds it, and converted text gets a style of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <pugixml.hpp>

#include "documents/document_file.h"
#include "documents/odf.h"
#include "documents/package.h"
#include "package_fixture.h"
#include "support/odf_namespaces.h"
#include "temp_dir.h"

namespace lk::documents {
namespace {

// LibreOffice's own extensions beside the standard ones.
const std::string kNamespaces =
    std::string(testing::kOdfNamespaces) +
    R"( xmlns:loext="urn:org:documentfoundation:names:experimental:office:xmlns:loext:1.0")";

constexpr const char* kFonts =
    R"(<office:font-face-decls>)"
    R"(<style:font-face style:name="Preeti1" svg:font-family="'Preeti'"/>)"
    R"(<style:font-face style:name="Liberation Serif" svg:font-family="'Liberation Serif'"/>)"
    R"(</office:font-face-decls>)";

std::string Content(const std::string& automatic, const std::string& body, const char* kind = "text") {
  return std::string(R"(<?xml version="1.0" encoding="UTF-8"?><office:document-content)") + kNamespaces +
         R"( office:version="1.3">)" + kFonts + "<office:automatic-styles>" + automatic +
         "</office:automatic-styles><office:body><office:" + kind + ">" + body + "</office:" + kind +
         "></office:body></office:document-content>";
}

std::string Styles(const std::string& common, const std::string& masters = "", const std::string& automatic = "") {
  return std::string(R"(<?xml version="1.0" encoding="UTF-8"?><office:document-styles)") + kNamespaces +
         R"( office:version="1.3">)" + kFonts + "<office:styles>" + common +
         "</office:styles><office:automatic-styles>" + automatic +
         "</office:automatic-styles><office:master-styles>" + masters +
         "</office:master-styles></office:document-styles>";
}

std::string TextStyle(const std::string& name, const std::string& properties, const char* family = "text",
                      const std::string& parent = "") {
  return R"(<style:style style:name=")" + name + R"(" style:family=")" + family + '"' +
         (parent.empty() ? "" : R"( style:parent-style-name=")" + parent + '"') + "><style:text-properties " +
         properties + "/></style:style>";
}

struct Converted {
  OpenDocumentXml xml;
  Tally tally;
};

Converted Convert(std::string styles, std::string content,
                  convert::Direction direction = convert::Direction::kToUnicode) {
  Converted result;
  result.xml.styles = styles;
  result.xml.content = content;
  ConvertSettings settings;
  settings.direction = direction;
  ConvertOpenDocumentXml(result.xml, settings, result.tally, nullptr);
  // A part that did not change is the one given.
  if (!result.xml.stylesChanged) result.xml.styles = std::move(styles);
  if (!result.xml.contentChanged) result.xml.content = std::move(content);
  return result;
}

// What a reader of one part sees: each paragraph's text, and the font
// family the automatic style of the span around a piece of text names.
class Part {
 public:
  explicit Part(const std::string& xml) {
    EXPECT_TRUE(doc_.load_string(xml.c_str(), pugi::parse_default | pugi::parse_ws_pcdata)) << xml;
  }

  std::vector<std::string> Paragraphs() const {
    std::vector<std::string> texts;
    for (pugi::xpath_node p : doc_.select_nodes("//text:p | //text:h")) texts.push_back(TextOf(p.node()));
    return texts;
  }

  // The family named by the style of the innermost span holding `text`
  // (empty if no span holds it).
  std::string SpanFont(const std::string& text) const {
    pugi::xml_node holder = doc_.find_node([&](pugi::xml_node n) {
      return n.type() == pugi::node_pcdata && std::string(n.value()).find(text) != std::string::npos;
    });
    for (pugi::xml_node n = holder.parent(); n; n = n.parent()) {
      if (std::string(n.name()) != "text:span") continue;
      pugi::xml_node style = Style(n.attribute("text:style-name").value());
      pugi::xml_node properties = style.child("style:text-properties");
      const std::string declared = properties.attribute("style:font-name").value();
      EXPECT_EQ(declared, properties.attribute("style:font-name-complex").value());
      pugi::xml_node face = doc_.find_node([&](pugi::xml_node f) {
        return std::string(f.name()) == "style:font-face" && declared == f.attribute("style:name").value();
      });
      return face.attribute("svg:font-family").value();
    }
    return "";
  }

  pugi::xml_node Style(const std::string& name) const {
    return doc_.find_node([&](pugi::xml_node s) {
      return std::string(s.name()) == "style:style" && name == s.attribute("style:name").value();
    });
  }

  std::size_t Count(const char* xpath) const { return doc_.select_nodes(xpath).size(); }

 private:
  static std::string TextOf(pugi::xml_node node) {
    std::string text;
    for (pugi::xml_node child : node.children()) {
      const std::string name = child.name();
      if (child.type() == pugi::node_pcdata) text += child.value();
      else if (name == "text:s") text += std::string(child.attribute("text:c").as_uint(1), ' ');
      else if (name == "text:tab") text += '\t';
      else if (name == "text:line-break") text += '\n';
      else if (name == "text:span" || name == "text:a") text += TextOf(child);
    }
    return text;
  }

  pugi::xml_document doc_;
};

const std::string kPreetiSpan = TextStyle("T1", R"(style:font-name="Preeti1")");
const std::string kNoStyles = Styles("");

TEST(OpenDocument, SyllablesSplitBetweenSpansConvertAsOneText) {
  const std::string bold = TextStyle("T2", R"(fo:font-family="Preeti" fo:font-weight="bold")");
  const auto out = Convert(kNoStyles, Content(kPreetiSpan + bold,
                                              R"(<text:p><text:span text:style-name="T1">l</text:span>)"
                                              R"(<text:bookmark text:name="b"/>)"
                                              R"(<text:span text:style-name="T2">stfa</text:span></text:p>)"
                                              R"(<text:p><text:span text:style-name="T1">sd</text:span>)"
                                              R"(<text:span text:style-name="T2">{</text:span></text:p>)"));
  ASSERT_TRUE(out.xml.contentChanged);
  EXPECT_FALSE(out.xml.stylesChanged);
  Part content(out.xml.content);
  EXPECT_EQ(content.Paragraphs(), (std::vector<std::string>{"किताब", "कर्म"}));
  EXPECT_EQ(content.SpanFont("किताब"), "'Nirmala UI'");
  // The bold span's copy draws its Devanagari bold too.
  pugi::xml_document doc;
  doc.load_string(out.xml.content.c_str());
  const char* boldName = doc.select_node("//text:span[text()='किताब']").node().attribute("text:style-name").value();
  pugi::xml_node boldCopy = content.Style(boldName).child("style:text-properties");
  EXPECT_STREQ(boldCopy.attribute("style:font-weight-complex").value(), "bold");
  EXPECT_STREQ(boldCopy.attribute("style:language-complex").value(), "ne");
  EXPECT_STREQ(boldCopy.attribute("style:country-complex").value(), "NP");
  // The styles other text may use are as they were.
  EXPECT_STREQ(content.Style("T1").child("style:text-properties").attribute("style:font-name").value(), "Preeti1");
  EXPECT_STREQ(content.Style("T2").child("style:text-properties").attribute("fo:font-family").value(), "Preeti");
}

TEST(OpenDocument, FontsAreFoundThroughDeclarationsParentsAndDefaults) {
  struct Case {
    const char* what;
    std::string common;     // styles.xml
    std::string automatic;  // content.xml
    std::string body;
    bool converted;
  };
  const std::string nepali = TextStyle("Nepali", R"(style:font-name="Preeti1")", "paragraph");
  const std::string english = TextStyle("English", R"(style:font-name="Liberation Serif")", "paragraph");
  const Case cases[] = {
      {"a declared name whose family is quoted", "", kPreetiSpan,
       R"(<text:p><text:span text:style-name="T1">g]kfn</text:span></text:p>)", true},
      {"fo:font-family alone, in capitals", "", TextStyle("T1", R"(fo:font-family="'PREETI', serif")"),
       R"(<text:p><text:span text:style-name="T1">g]kfn</text:span></text:p>)", true},
      {"the declared name wins over fo:font-family", "",
       TextStyle("T1", R"(style:font-name="Liberation Serif" fo:font-family="Preeti")"),
       R"(<text:p><text:span text:style-name="T1">g]kfn</text:span></text:p>)", false},
      {"a paragraph style's parent", nepali + TextStyle("Body", R"(fo:font-size="12pt")", "paragraph", "Nepali"),
       TextStyle("P1", R"(fo:color="#000000")", "paragraph", "Body"),
       R"(<text:p text:style-name="P1">g]kfn</text:p>)", true},
      {"the default paragraph style",
       R"(<style:default-style style:family="paragraph"><style:text-properties style:font-name="Preeti1"/></style:default-style>)",
       "", R"(<text:p>g]kfn</text:p>)", true},
      {"a span in another font inside a legacy paragraph", nepali,
       TextStyle("T1", R"(fo:font-family="Liberation Serif")"),
       R"(<text:p text:style-name="Nepali"><text:span text:style-name="T1">g]kfn</text:span></text:p>)", false},
      {"a span without a font inside a legacy paragraph", nepali, TextStyle("T1", R"(fo:font-weight="bold")"),
       R"(<text:p text:style-name="Nepali"><text:span text:style-name="T1">g]kfn</text:span></text:p>)", true},
      {"a common character style", TextStyle("PreetiChars", R"(fo:font-family="Preeti")"), "",
       R"(<text:p text:style-name="English"><text:span text:style-name="PreetiChars">g]kfn</text:span></text:p>)",
       true},
      {"a loop of parents is no font", TextStyle("A", "", "paragraph", "B") + TextStyle("B", "", "paragraph", "A"),
       "", R"(<text:p text:style-name="A">g]kfn</text:p>)", false},
  };
  for (const Case& c : cases) {
    const auto out = Convert(Styles(english + c.common), Content(c.automatic, c.body));
    EXPECT_EQ(out.xml.contentChanged, c.converted) << c.what;
    if (c.converted) {
      Part content(out.xml.content);
      EXPECT_EQ(content.Paragraphs()[0], "नेपाल") << c.what;
      EXPECT_EQ(content.SpanFont("नेपाल"), "'Nirmala UI'") << c.what;
    }
  }
}

TEST(OpenDocument, ParagraphTextGetsASpanOfItsOwnAndTheParagraphStyleStays) {
  const std::string nepali = TextStyle("Nepali", R"(style:font-name="Preeti1")", "paragraph");
  const auto out = Convert(Styles(nepali), Content("", R"(<text:p text:style-name="Nepali">g]kfn )"
                                                       R"(<text:span text:style-name="X">;/sf/</text:span></text:p>)"
                                                       R"(<text:p text:style-name="Nepali">sd{</text:p>)"));
  Part content(out.xml.content);
  // The unknown style X names no font: its text is the paragraph's, and
  // the two read as one text under one new style.
  EXPECT_EQ(content.Paragraphs(), (std::vector<std::string>{"नेपाल सरकार", "कर्म"}));
  EXPECT_EQ(content.SpanFont("नेपाल"), "'Nirmala UI'");
  EXPECT_EQ(content.Count("//text:p[@text:style-name='Nepali']"), 2u);
  // The family is declared once, in the part that uses it.
  EXPECT_EQ(content.Count("//style:font-face[@style:name='Nirmala UI']"), 1u);
  EXPECT_FALSE(out.xml.stylesChanged);
}

TEST(OpenDocument, BlanksTabsAndBreaksInsideRunsKeepTheirPlaces) {
  const auto out = Convert(kNoStyles, Content(kPreetiSpan, R"(<text:p><text:span text:style-name="T1">)"
                                                           R"(g]<text:s text:c="2"/>kfn<text:tab/>;/sf/)"
                                                           R"(<text:line-break/>s<text:s/>s</text:span></text:p>)"));
  Part content(out.xml.content);
  EXPECT_EQ(content.Paragraphs()[0], "ने  पाल\tसरकार\nक क");
  // However the blanks are shared out between text and text:s, none of
  // them can collapse into another.
  EXPECT_EQ(content.Count("//text:s"), 1u) << out.xml.content;
  EXPECT_EQ(content.Count("//text:tab"), 1u);
  EXPECT_EQ(content.Count("//text:line-break"), 1u);

  // An i-kar before a tab never reaches over it, whichever span holds the tab.
  const auto tabs = Convert(kNoStyles, Content(kPreetiSpan, R"(<text:p><text:span text:style-name="T1">l<text:tab/>)"
                                                            R"(</text:span><text:span text:style-name="T1">s</text:span></text:p>)"
                                                            R"(<text:p><text:span text:style-name="T1">l</text:span><text:tab/>)"
                                                            R"(<text:span text:style-name="T1">s</text:span></text:p>)"));
  EXPECT_EQ(Part(tabs.xml.content).Paragraphs(), (std::vector<std::string>{"ि\tक", "ि\tक"}));
}

TEST(OpenDocument, HeadersAndFootersInTheStylesPartAreConverted) {
  const std::string header = TextStyle("Header", R"(style:font-name="Preeti1")", "paragraph");
  const std::string masters =
      R"(<style:master-page style:name="Standard"><style:header><text:p text:style-name="Header">g]kfn</text:p>)"
      R"(</style:header><style:footer><text:p text:style-name="MP1">sd{</text:p></style:footer></style:master-page>)";
  const auto out = Convert(Styles(header, masters, TextStyle("MP1", "", "paragraph", "Header")),
                           Content("", R"(<text:p>Hello</text:p>)"));
  EXPECT_FALSE(out.xml.contentChanged);
  ASSERT_TRUE(out.xml.stylesChanged);
  Part styles(out.xml.styles);
  EXPECT_EQ(styles.Paragraphs(), (std::vector<std::string>{"नेपाल", "कर्म"}));
  EXPECT_EQ(styles.SpanFont("नेपाल"), "'Nirmala UI'");
  EXPECT_EQ(styles.Count("//office:automatic-styles/style:style[@style:family='text']"), 1u);
}

TEST(OpenDocument, ASheetCellWithoutAStyleTakesItsRowsOrColumnsDefault) {
  const std::string cells = TextStyle("Nepali", R"(style:font-name="Preeti1")", "table-cell") +
                            TextStyle("English", R"(style:font-name="Liberation Serif")", "table-cell");
  const std::string sheet =
      R"(<table:table table:name="One">)"
      R"(<table:table-column table:number-columns-repeated="2" table:default-cell-style-name="Nepali"/>)"
      R"(<table:table-column table:default-cell-style-name="English"/>)"
      R"(<table:table-row><table:table-cell table:number-columns-repeated="1"><text:p>g]kfn</text:p></table:table-cell>)"
      R"(<table:table-cell table:style-name="English"><text:p>One</text:p></table:table-cell>)"
      R"(<table:table-cell><text:p>Two</text:p></table:table-cell></table:table-row>)"
      R"(<table:table-row table:default-cell-style-name="English"><table:table-cell><text:p>Three</text:p>)"
      R"(</table:table-cell></table:table-row>)"
      R"(<table:table-row-group><table:table-row><table:table-cell table:number-columns-repeated="2"/>)"
      R"(<table:table-cell><text:p>Four</text:p></table:table-cell>)"
      R"(<table:table-cell><text:p>;/sf/</text:p></table:table-cell></table:table-row></table:table-row-group>)"
      R"(</table:table><table:table table:name="Two"><table:table-column/><table:table-row><table:table-cell>)"
      R"(<text:p>Five</text:p></table:table-cell><table:table-cell><office:annotation draw:text-style-name="Pc">)"
      R"(<text:p>sd{</text:p></office:annotation></table:table-cell></table:table-row></table:table>)";
  const auto out =
      Convert(Styles(cells + R"(<style:default-style style:family="table-cell"><style:text-properties )"
                             R"(style:font-name="Liberation Serif"/></style:default-style>)"),
              Content(TextStyle("Pc", R"(fo:font-family="Preeti")", "paragraph"), sheet, "spreadsheet"));
  Part content(out.xml.content);
  // A fourth column is not declared: it has no default but the document's.
  // A comment's text reads its font from the comment's own text style.
  EXPECT_EQ(content.Paragraphs(),
            (std::vector<std::string>{"नेपाल", "One", "Two", "Three", "Four", ";/sf/", "Five", "कर्म"}));
  EXPECT_EQ(out.tally.convertedRuns, 2u);
}

TEST(OpenDocument, SlideTextReadsItsFontFromPresentationAndMasterStyles) {
  const std::string common = TextStyle("Default-title", R"(style:font-name="Preeti1")", "presentation") +
                             TextStyle("Default-outline1", R"(fo:font-family="Liberation Serif")", "presentation") +
                             TextStyle("plain", "", "graphic") +
                             TextStyle("english", R"(fo:font-family="Liberation Serif")", "graphic") +
                             R"(<style:default-style style:family="graphic"><style:text-properties )"
                             R"(fo:font-family="Preeti"/></style:default-style>)";
  // A shape's text style, as LibreOffice writes a master page's text box,
  // comes before the shape's own style.
  const std::string masters =
      R"(<style:master-page style:name="Default"><draw:frame draw:style-name="plain"><draw:text-box>)"
      R"(<text:p>;/sf/</text:p></draw:text-box></draw:frame>)"
      R"(<draw:frame draw:style-name="english" draw:text-style-name="MP1"><draw:text-box>)"
      R"(<text:p>sd{</text:p></draw:text-box></draw:frame></style:master-page>)";
  const std::string slides =
      R"(<draw:page draw:master-page-name="Default">)"
      R"(<draw:frame presentation:style-name="pr1" presentation:class="title"><draw:text-box><text:p>g]kfn</text:p>)"
      R"(</draw:text-box></draw:frame>)"
      R"(<draw:frame presentation:class="title"><draw:text-box><text:p>lstfa</text:p></draw:text-box></draw:frame>)"
      R"(<draw:frame presentation:class="outline"><draw:text-box><text:p>Agenda</text:p></draw:text-box></draw:frame>)"
      R"(<draw:custom-shape draw:style-name="plain"><text:p><text:span>sd{</text:span></text:p></draw:custom-shape>)"
      R"(<presentation:notes><draw:frame presentation:style-name="pr1"><draw:text-box><text:p>g]kfn</text:p>)"
      R"(</draw:text-box></draw:frame></presentation:notes></draw:page>)";
  const auto out = Convert(Styles(common, masters, TextStyle("MP1", R"(fo:font-family="Preeti")", "paragraph")),
                           Content(TextStyle("pr1", R"(fo:font-size="40pt")", "presentation", "Default-title"),
                                   slides, "presentation"));
  Part content(out.xml.content);
  EXPECT_EQ(content.Paragraphs(), (std::vector<std::string>{"नेपाल", "किताब", "Agenda", "कर्म", "नेपाल"}));
  // The title's size reaches the Devanagari through its copy.
  EXPECT_EQ(content.Count("//style:text-properties[@style:font-size-complex='40pt']"), 1u);
  Part styles(out.xml.styles);
  EXPECT_EQ(styles.Paragraphs(), (std::vector<std::string>{"सरकार", "कर्म"}));
}

TEST(OpenDocument, NotesAndFieldsPartTheTextAroundThem) {
  const std::string nepali = TextStyle("Nepali", R"(style:font-name="Preeti1")", "paragraph");
  const auto out = Convert(
      Styles(nepali), Content("", R"(<text:p text:style-name="Nepali">l<text:note text:note-class="footnote">)"
                                  R"(<text:note-citation>1</text:note-citation><text:note-body>)"
                                  R"(<text:p text:style-name="Nepali">s</text:p></text:note-body></text:note>s)"
                                  R"(<text:page-number>1</text:page-number></text:p>)"));
  Part content(out.xml.content);
  // The note's paragraph is a text of its own; the citation and the field
  // keep what they show.
  EXPECT_EQ(content.Paragraphs(), (std::vector<std::string>{"िक", "क"}));
  EXPECT_EQ(content.Count("//text:note-citation[text()='1']"), 1u);
  EXPECT_EQ(content.Count("//text:page-number[text()='1']"), 1u);
}

TEST(OpenDocument, ToLegacyOnlyTheDevanagariTakesTheFamily) {
  const auto out = Convert(kNoStyles,
                           Content(TextStyle("T1", R"(style:font-name="Liberation Serif")"),
                                   R"(<text:p><text:span text:style-name="T1">नेपाल Hello</text:span></text:p>)"),
                           convert::Direction::kToLegacy);
  Part content(out.xml.content);
  EXPECT_EQ(content.Paragraphs()[0], "g]kfn Hello");
  pugi::xml_document doc;
  doc.load_string(out.xml.content.c_str());
  pugi::xml_node inner = doc.select_node("//text:span/text:span").node();
  EXPECT_STREQ(inner.text().get(), "g]kfn");
  pugi::xml_node style = Part(out.xml.content).Style(inner.attribute("text:style-name").value());
  // The declaration the document already has for the family is used.
  EXPECT_STREQ(style.child("style:text-properties").attribute("style:font-name").value(), "Preeti1");
  EXPECT_FALSE(style.child("style:text-properties").attribute("style:font-name-complex"));
}

TEST(OpenDocument, ConvertingTwiceChangesNothing) {
  const std::string nepali = TextStyle("Nepali", R"(style:font-name="Preeti1")", "paragraph");
  for (auto direction : {convert::Direction::kToUnicode, convert::Direction::kToLegacy}) {
    const auto once = Convert(Styles(nepali), Content(kPreetiSpan, R"(<text:p text:style-name="Nepali">g]kfn )"
                                                                   R"(<text:span text:style-name="T1">l</text:span>)"
                                                                   R"(s</text:p><text:p>नेपाल</text:p>)"),
                              direction);
    ASSERT_TRUE(once.xml.contentChanged);
    const auto twice = Convert(once.xml.styles, once.xml.content, direction);
    EXPECT_FALSE(twice.xml.contentChanged);
    EXPECT_FALSE(twice.xml.stylesChanged);
    EXPECT_EQ(twice.tally.convertedRuns, 0u);
  }
}

TEST(OpenDocument, NamespacesDeclarationsAndCommentsAreKept) {
  const std::string content = Content(kPreetiSpan, R"(<!-- kept --><text:p>)"
                                                   R"(<text:span text:style-name="T1">g]kfn</text:span></text:p>)");
  const auto out = Convert(kNoStyles, content);
  EXPECT_EQ(out.xml.content.rfind(R"(<?xml version="1.0" encoding="UTF-8"?>)", 0), 0u);
  EXPECT_NE(out.xml.content.find(kNamespaces), std::string::npos);
  EXPECT_NE(out.xml.content.find("<!-- kept -->"), std::string::npos);
}

TEST(OpenDocument, BadInputIsRefusedWithAMessage) {
  try {
    Convert(kNoStyles, "<office:document-content><text:p>");
    FAIL() << "malformed XML was accepted";
  } catch (const DocumentError& e) {
    EXPECT_NE(std::string(e.what()).find("content.xml"), std::string::npos) << e.what();
  }
  const std::string encrypted =
      R"(<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0">)"
      R"(<manifest:file-entry manifest:full-path="/" manifest:media-type="application/vnd.oasis.opendocument.text"/>)"
      R"(<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml">)"
      R"(<manifest:encryption-data manifest:checksum-type="SHA1/1K" manifest:checksum="x"/>)"
      R"(</manifest:file-entry></manifest:manifest>)";
  try {
    ManifestMimetype(encrypted);
    FAIL() << "an encrypted document was accepted";
  } catch (const DocumentError& e) {
    EXPECT_NE(std::string(e.what()).find("password-protected"), std::string::npos) << e.what();
  }
  std::string plain = encrypted;
  plain.erase(plain.find("<manifest:encryption-data"), plain.find("</manifest:file-entry>") - plain.find("<manifest:encryption-data"));
  EXPECT_EQ(ManifestMimetype(plain), "application/vnd.oasis.opendocument.text");
  EXPECT_TRUE(IsOpenDocumentMimetype("application/vnd.oasis.opendocument.spreadsheet"));
  EXPECT_FALSE(IsOpenDocumentMimetype("application/vnd.openxmlformats-officedocument"));
  // A text:s asking for a billion blanks is left as it is.
  const auto out = Convert(kNoStyles, Content(kPreetiSpan, R"(<text:p><text:span text:style-name="T1">)"
                                                           R"(s<text:s text:c="1000000000"/>s</text:span></text:p>)"));
  EXPECT_EQ(Part(out.xml.content).Count("//text:s[@text:c='1000000000']"), 1u);

  // Nesting a hundred thousand deep overflows no stack: what lies deeper
  // than a document would go is left as it is.
  std::string spans, groups;
  for (int i = 0; i < 100000; ++i) spans += R"(<text:span text:style-name="T1">)";
  spans += "g]kfn";
  for (int i = 0; i < 100000; ++i) spans += "</text:span>";
  for (int i = 0; i < 100000; ++i) groups += "<table:table-column-group>";
  groups += R"(<table:table-column table:default-cell-style-name="X"/>)";
  for (int i = 0; i < 100000; ++i) groups += "</table:table-column-group>";
  const auto deep = Convert(kNoStyles, Content(kPreetiSpan, "<text:p>" + spans + R"(</text:p><table:table>)" +
                                                                groups + "</table:table>"));
  EXPECT_FALSE(deep.xml.contentChanged);
}

// Whole packages, through the zip layer.
constexpr const char* kManifest =
    R"(<?xml version="1.0" encoding="UTF-8"?>)"
    R"(<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.3">)"
    R"(<manifest:file-entry manifest:full-path="/" manifest:media-type="application/vnd.oasis.opendocument.text"/>)"
    R"(<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>)"
    R"(</manifest:manifest>)";

std::vector<testing::TestPart> SmallOdt() {
  const std::string nepali = TextStyle("Nepali", R"(style:font-name="Preeti1")", "paragraph");
  return {
      {"mimetype", "application/vnd.oasis.opendocument.text", true},
      {"content.xml", Content("", R"(<text:p text:style-name="Nepali">g]kfn</text:p>)")},
      {"Pictures/1.png", testing::NoiseBytes(5000)},
      {"styles.xml", Styles(nepali, R"(<style:master-page style:name="Standard"><style:header>)"
                                    R"(<text:p text:style-name="Nepali">;/sf/</text:p></style:header>)"
                                    R"(</style:master-page>)")},
      {"meta.xml", "<office:document-meta/>"},
      // An embedded object's text, with styles of its own.
      {"Object 1/content.xml", Content(kPreetiSpan, R"(<text:p><text:span text:style-name="T1">sd{</text:span></text:p>)")},
      {"META-INF/manifest.xml", kManifest},
  };
}

Tally ConvertPackage(const std::filesystem::path& from, const std::filesystem::path& to) {
  PackageReader reader(from, Limits{});
  PackageWriter writer(to);
  Tally tally;
  ConvertOpenDocument(reader, writer, ConvertSettings{}, tally, nullptr);
  writer.Finish();
  return tally;
}

std::string ErrorOf(const std::vector<testing::TestPart>& parts) {
  testing::TempDir dir;
  testing::WritePackage(dir.path() / "in.odt", parts);
  try {
    ConvertPackage(dir.path() / "in.odt", dir.path() / "out.odt");
  } catch (const DocumentError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(OpenDocumentPackage, MimetypeComesFirstStoredAndOtherPartsAreCopiedAsTheyWere) {
  testing::TempDir dir;
  auto parts = SmallOdt();
  // A writer that put the mimetype last, deflated.
  std::rotate(parts.begin(), parts.begin() + 1, parts.end());
  parts.back().store = false;
  testing::WritePackage(dir.path() / "in.odt", parts);
  const Tally tally = ConvertPackage(dir.path() / "in.odt", dir.path() / "out.odt");
  EXPECT_EQ(tally.convertedRuns, 3u);

  PackageReader out(dir.path() / "out.odt", Limits{});
  ASSERT_EQ(out.parts().size(), parts.size());
  EXPECT_EQ(out.parts()[0].name, "mimetype");
  EXPECT_TRUE(out.parts()[0].stored);
  EXPECT_EQ(out.Read("mimetype"), "application/vnd.oasis.opendocument.text");
  for (const char* untouched : {"Pictures/1.png", "meta.xml", "META-INF/manifest.xml"}) {
    const auto before = testing::RawEntry(dir.path() / "in.odt", untouched);
    const auto after = testing::RawEntry(dir.path() / "out.odt", untouched);
    EXPECT_EQ(after.bytes, before.bytes) << untouched;
  }
  EXPECT_EQ(Part(out.Read("content.xml")).Paragraphs(), (std::vector<std::string>{"नेपाल"}));
  EXPECT_EQ(Part(out.Read("styles.xml")).Paragraphs(), (std::vector<std::string>{"सरकार"}));
  EXPECT_EQ(Part(out.Read("Object 1/content.xml")).Paragraphs(), (std::vector<std::string>{"कर्म"}));

  // Converting the output again gives the same bytes.
  ConvertPackage(dir.path() / "out.odt", dir.path() / "again.odt");
  EXPECT_EQ(testing::ReadBytes(dir.path() / "again.odt"), testing::ReadBytes(dir.path() / "out.odt"));
}

TEST(OpenDocumentPackage, PackagesThatAreNotPlainOpenDocumentAreRefused) {
  struct Case {
    const char* what;
    std::function<void(std::vector<testing::TestPart>&)> change;
    const char* message;
  };
  const Case cases[] = {
      {"encrypted",
       [](auto& parts) {
         std::string& manifest = parts.back().content;
         manifest.insert(manifest.find("</manifest:manifest>"),
                         R"(<manifest:file-entry manifest:full-path="styles.xml" manifest:media-type="text/xml">)"
                         R"(<manifest:encryption-data manifest:checksum="x"/></manifest:file-entry>)");
       },
       "password-protected"},
      {"no manifest", [](auto& parts) { parts.pop_back(); }, "not an OpenDocument file"},
      {"another format's mimetype",
       [](auto& parts) { parts.front().content = "application/vnd.openxmlformats-officedocument"; },
       "not an OpenDocument file"},
      {"malformed content", [](auto& parts) { parts[1].content = "<office:document-content>"; }, "content.xml"},
  };
  for (const Case& c : cases) {
    auto parts = SmallOdt();
    c.change(parts);
    EXPECT_NE(ErrorOf(parts).find(c.message), std::string::npos) << c.what << ": " << ErrorOf(parts);
  }
  // Without a mimetype entry the manifest says what the package is.
  auto parts = SmallOdt();
  parts.erase(parts.begin());
  EXPECT_EQ(ErrorOf(parts), "(no error)");
}

}  // namespace
}  // namespace lk::documents
