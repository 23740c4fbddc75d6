#pragma once
// OpenDocument styles as a reader of text needs them: which font a piece of
// text displays in, found through the styles around it, their parents and
// the default styles; and the automatic styles and font declarations that
// converted text is given.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <pugixml.hpp>

namespace lk::documents::odf {

// One XML part of a document (content.xml or styles.xml), parsed.
struct XmlPart {
  std::string name;
  std::string source;  // the text doc was parsed from, in place
  pugi::xml_document doc;
  pugi::xml_node root;
  bool changed = false;
};

// The styles around a piece of text, the innermost first, each a
// style:style (or style:default-style) element; a style's parents are
// looked up when a property is asked for.
using StyleLevels = std::vector<pugi::xml_node>;

class StyleSheet {
 public:
  // Either part may be missing (null). Common and default styles live in
  // styles.xml; each part has automatic styles of its own.
  StyleSheet(XmlPart* styles, XmlPart* content);

  // A style by family and name as text in `part` sees it: the part's
  // automatic styles first, then the common ones.
  pugi::xml_node Find(const XmlPart& part, std::string_view family, std::string_view name) const;
  pugi::xml_node Default(std::string_view family) const;

  // The font family the first level that names one gives (style:font-name
  // through the font declarations, or fo:font-family), unquoted.
  std::optional<std::string> FontOf(const XmlPart& part, const StyleLevels& levels) const;
  // A text property as the first level that sets it gives it.
  std::optional<std::string> PropertyOf(const XmlPart& part, const StyleLevels& levels, const char* attribute) const;

  // The name of the automatic text style converted text takes in `part`:
  // `original` (a span's own style, or null for text that had none) with
  // the font set to `family`, the complex-script weight, posture and size
  // following the Latin ones the text had. One style per original and
  // outcome, made once.
  std::string ConvertedStyle(XmlPart& part, pugi::xml_node original, const StyleLevels& levels,
                             const std::string& family, bool toUnicode);

 private:
  struct Index {
    std::unordered_map<std::string, pugi::xml_node> styles;  // family '\n' name
    std::unordered_map<std::string, std::string> fonts;      // declared name to family
  };
  const Index* IndexOf(const XmlPart& part) const;
  Index* IndexOf(const XmlPart& part);
  pugi::xml_node Parent(const XmlPart& part, pugi::xml_node style) const;
  std::optional<std::string> FontOfStyle(const XmlPart& part, pugi::xml_node style) const;
  std::string DeclareFont(XmlPart& part, const std::string& family);
  std::string FreeStyleName(const XmlPart& part);

  XmlPart* stylesPart_;
  XmlPart* contentPart_;
  Index common_;
  Index stylesAutomatic_;
  Index contentAutomatic_;
  std::unordered_map<std::string, pugi::xml_node> defaults_;
  std::unordered_map<std::string, std::string> made_;  // part '\n' key to style name
  std::size_t nextName_ = 1;
};

// A family name as fo:font-family or svg:font-family give it: the first of
// a list, without its quotes.
std::string FirstFamily(std::string_view value);

}  // namespace lk::documents::odf
