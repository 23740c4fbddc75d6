#pragma once
// One XML part of a package, parsed so that writing it again keeps what we
// did not change: declarations, namespace prefixes, whitespace-only text.
// Office formats are read by the local names of their elements, since
// producers differ in the prefixes they choose ("a:r", "x:c", or a default
// namespace).
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace lk::documents {

// Throws DocumentError naming the part when it is not well-formed XML.
void ParsePart(pugi::xml_document& document, std::string_view content, std::string_view partName);
// sizeHint: the part's size as it was read.
std::string SavePart(const pugi::xml_document& document, std::size_t sizeHint);
void SavePart(const pugi::xml_document& document, pugi::xml_writer& out);

// "a:latin" and "latin" both give "latin".
std::string_view LocalName(pugi::xml_node node);
// "a:" for "a:rPr", "" for "rPr": new children take their parent's prefix.
std::string_view PrefixOf(pugi::xml_node node);
std::string QualifiedName(pugi::xml_node parent, std::string_view local);

pugi::xml_node ChildNamed(pugi::xml_node parent, std::string_view local);
// The attribute by local name ("r:id" is found as "id"); prefer plain names
// where the format uses unprefixed attributes.
pugi::xml_attribute AttributeNamed(pugi::xml_node node, std::string_view local);

// A new child placed where its parent's sequence wants it: before the first
// existing child whose rank (from rankOf) is higher. Unknown children rank
// highest so that extensions stay last.
pugi::xml_node InsertChildInOrder(pugi::xml_node parent, std::string_view local, int (*rankOf)(std::string_view));

}  // namespace lk::documents
