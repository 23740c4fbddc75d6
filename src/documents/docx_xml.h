#pragma once
// One XML part of a Word package parsed and written again so that whatever
// we do not touch comes out as it came: the XML declaration, every
// namespace declaration (a prefix named by mc:Ignorable must stay declared
// or Word refuses the file), attribute order, comments and the blanks
// inside texts.
#include <optional>
#include <string>
#include <string_view>

#include "pugixml.hpp"

namespace lk::documents::docx {

// Parses xml in place (it must outlive doc). Throws DocumentError naming
// the part when it is not well-formed.
void ParsePart(pugi::xml_document& doc, std::string& xml, std::string_view partName);

// The tree as UTF-8, without indentation or any declaration it did not have.
std::string SavePart(const pugi::xml_document& doc, std::size_t sizeHint);

// Element and attribute names of WordprocessingML as one part spells them:
// Word writes "w:", but the prefix is whatever the part binds the
// namespace to (transitional or strict).
class Wml {
 public:
  Wml() = default;
  explicit Wml(pugi::xml_node root);

  bool Is(pugi::xml_node node, std::string_view local) const { return Matches(node.name(), local); }
  bool Matches(const char* qualified, std::string_view local) const;
  // The local name of a name in this namespace; none for another's.
  std::optional<std::string_view> Local(const char* qualified) const;
  std::string Name(std::string_view local) const;
  pugi::xml_node Child(pugi::xml_node parent, std::string_view local) const;
  pugi::xml_attribute Attr(pugi::xml_node node, std::string_view local) const;
  // The w:val of a child ("" when there is none), as styles name each other.
  std::string_view ChildVal(pugi::xml_node parent, std::string_view local) const;

 private:
  std::string prefix_ = "w";
};

// The part of a qualified name after its prefix.
std::string_view LocalName(const char* qualified);

}  // namespace lk::documents::docx
