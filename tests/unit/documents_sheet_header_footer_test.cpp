// Excel's header and footer codes as typists leave them: sections, font
// switches with styles, sizes, colours, fields and "&&", with Preeti text
// among them.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "documents/sheet_header_footer.h"

namespace lk::documents {
namespace {

using Kind = HeaderFooterToken::Kind;

TEST(SheetHeaderFooter, CodesAndFieldsAreTokensOfTheirOwnAndOnlyTextIsText) {
  const auto tokens = TokenizeHeaderFooter(
      "&L&\"Times New Roman,Bold Italic\"&12Page &P+1 of &N&K00FF00x&&y&\"-,Bold\"&B&Z&F&");
  std::vector<std::pair<Kind, std::string>> got;
  for (const HeaderFooterToken& token : tokens)
    got.emplace_back(token.kind, token.kind == Kind::kText ? token.text : token.raw);
  const std::vector<std::pair<Kind, std::string>> expected{
      {Kind::kSection, "&L"},   {Kind::kFont, "&\"Times New Roman,Bold Italic\""},
      {Kind::kFormat, "&12"},   {Kind::kText, "Page "},
      {Kind::kField, "&P+1"},   {Kind::kText, " of "},
      {Kind::kField, "&N"},     {Kind::kFormat, "&K00FF00"},
      {Kind::kText, "x&y"},     {Kind::kFont, "&\"-,Bold\""},
      {Kind::kFormat, "&B"},    {Kind::kField, "&Z"},
      {Kind::kField, "&F"},     {Kind::kFormat, "&"},
  };
  EXPECT_EQ(got, expected);
  EXPECT_EQ(tokens[1].text, "Times New Roman");
  EXPECT_EQ(tokens[1].style, "Bold Italic");
  EXPECT_EQ(tokens[8].raw, "x&&y");
  // An unterminated font switch is kept whole rather than read as text.
  const auto broken = TokenizeHeaderFooter("&C&\"Preeti,Bold g]kfn");
  ASSERT_EQ(broken.size(), 2u);
  EXPECT_EQ(broken[1].kind, Kind::kFormat);
}

struct Case {
  const char* name;
  const char* codes;
  HeaderFooterFonts fonts;
  convert::Direction direction;
  std::optional<std::string> expected;  // none: left as it was
};

TEST(SheetHeaderFooter, TextConvertsByTheFontItShowsInAndTheCodesStay) {
  constexpr auto kUnicode = convert::Direction::kToUnicode;
  constexpr auto kLegacy = convert::Direction::kToLegacy;
  const HeaderFooterFonts calibri{"Calibri", "Calibri", "Calibri Light"};
  const HeaderFooterFonts preetiNormal{"Preeti", "Calibri", "Cambria"};
  const HeaderFooterFonts preetiBody{"Calibri", "Preeti", "Cambria"};
  const Case cases[] = {
      {"a Preeti switch becomes the Unicode font, its style kept; fields stay",
       "&L&\"Preeti,Bold\"g]kfn&R&P / &N", calibri, kUnicode, "&L&\"Nirmala UI,Bold\"नेपाल&R&P / &N"},
      {"the letters of fields after a Preeti switch are not Preeti text", "&C&\"Preeti,Regular\"&P&D&T&A",
       calibri, kUnicode, std::nullopt},
      {"text before any switch shows in a Preeti default font, and gets a switch of its own",
       "&C;/sf/ &D", preetiNormal, kUnicode, "&C&\"Nirmala UI,Regular\"सरकार &D"},
      {"\"-\" is the theme's body font: a Preeti body font converts under it", "&L&\"-,Bold\"g]kfn", preetiBody,
       kUnicode, "&L&\"Nirmala UI,Bold\"नेपाल"},
      {"\"-\" leaves a Preeti default font for the theme's", "&Lg]kfn&\"-,Bold\" Total", preetiNormal, kUnicode,
       "&L&\"Nirmala UI,Regular\"नेपाल&\"-,Bold\" Total"},
      {"to legacy after \"-\", the switch back is \"-\" in its style", "&C&\"-,Bold\"नेपाल Total", calibri, kLegacy,
       "&C&\"-,Bold\"&\"Preeti,Bold\"g]kfn&\"-,Bold\" Total"},
      {"a syllable split by a bold toggle converts as one; size and colour codes stay",
       "&R&\"Preeti,Regular\"&14&KFF0000l&Bstfa", calibri, kUnicode,
       "&R&\"Nirmala UI,Regular\"&14&KFF0000&Bकिताब"},
      {"each section starts again in the default font", "&L&\"Preeti,Regular\"g]kfn&RTotal && more", calibri,
       kUnicode, "&L&\"Nirmala UI,Regular\"नेपाल&RTotal && more"},
      {"English in the default font stays", "&LPage &P of &N&RConfidential", calibri, kUnicode, std::nullopt},
      {"a converted header converts to nothing new", "&L&\"Nirmala UI,Bold\"नेपाल&R&P", calibri, kUnicode,
       std::nullopt},
      {"to legacy, Devanagari gets the family and the default font back after it", "&Lनेपाल Page &P",
       calibri, kLegacy, "&L&\"Preeti,Regular\"g]kfn&\"Calibri,Regular\" Page &P"},
      {"to legacy inside a switch: the style carries over, nothing follows", "&C&\"Arial,Bold\"&16सरकार",
       calibri, kLegacy, "&C&\"Arial,Bold\"&16&\"Preeti,Bold\";/sf/"},
      {"to legacy, Preeti text stays", "&C&\"Preeti,Regular\"g]kfn", calibri, kLegacy, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConvertSettings settings;
    settings.direction = c.direction;
    Tally tally;
    EXPECT_EQ(ConvertHeaderFooter(c.codes, c.fonts, settings, tally), c.expected);
    // Whatever came out converts to nothing new.
    if (c.expected) {
      Tally again;
      EXPECT_EQ(ConvertHeaderFooter(*c.expected, c.fonts, settings, again), std::nullopt);
    }
  }
}

}  // namespace
}  // namespace lk::documents
