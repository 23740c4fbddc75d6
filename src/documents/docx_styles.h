#pragma once
// The font a run displays in, resolved as Word resolves it: the run's own
// properties, its character style, its paragraph's style and the basedOn
// chain of each, the table's style, then the document's defaults. A theme
// attribute (w:asciiTheme) wins over the name in its slot and is looked up
// in the theme's major and minor fonts. The ascii slot decides a run's
// family, since legacy text is stored at codes below 0x80.
//
// Bold, italic and size are resolved too: a converted run must carry their
// complex-script twins, or its Devanagari comes out plain at the default
// size.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "documents/docx_xml.h"
#include "pugixml.hpp"

namespace lk::documents::docx {

struct RunProps {
  std::optional<std::string> ascii;  // the family the ascii slot shows, theme resolved
  std::optional<bool> b, bCs, i, iCs;
  std::optional<std::string> sz, szCs;

  // Keeps what this level says and takes the rest from a weaker one.
  void FillFrom(const RunProps& weaker);
};

// Where a paragraph sits: its style, and the style of the table around it.
struct ParagraphContext {
  std::string_view paragraphStyle;  // empty: the default paragraph style
  bool inTable = false;
  std::string_view tableStyle;  // empty in a table: the default table style
};

class WordFonts {
 public:
  WordFonts() = default;  // a package without styles or theme
  // The styles and theme parts' texts (empty when the package has none);
  // their names go into the message when one is not well-formed.
  WordFonts(std::string styles, std::string_view stylesName, std::string theme, std::string_view themeName);

  // What a w:rPr itself says (null: nothing).
  RunProps Direct(pugi::xml_node rPr, const Wml& w) const;
  // Everything a run shows, from its own properties and where it sits.
  RunProps Resolve(const RunProps& direct, std::string_view characterStyle, const ParagraphContext& where) const;

 private:
  struct Style {
    RunProps own;
    RunProps chain;  // own filled from the basedOn chain
    std::string basedOn;
  };
  void ReadTheme(pugi::xml_node root);
  void ReadStyles(pugi::xml_node root);
  const RunProps* ChainOf(std::string_view id) const;

  std::unordered_map<std::string, std::string> themeFonts_;  // "minorHAnsi" -> "Calibri"
  std::unordered_map<std::string, Style> styles_;
  RunProps defaults_;
  std::string defaultParagraphStyle_;
  std::string defaultTableStyle_;
};

}  // namespace lk::documents::docx
