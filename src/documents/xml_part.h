#pragma once
// One XML part of a package, parsed so that writing it again keeps what we
// did not change: declarations, namespace prefixes, whitespace-only text.
// Office formats are read by the local names of their elements, since
// producers differ in the prefixes they choose ("a:r", "x:c", or a default
// namespace).
#include <cstring>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace lk::documents {

// Throws DocumentError naming the part when it is not well-formed XML.
void ParsePart(pugi::xml_document& document, std::string_view content, std::string_view partName);
// The same, parsed where it lies rather than in pugixml's copy of it: the
// document points into content, which must outlive it and is changed.
void ParsePartInPlace(pugi::xml_document& document, std::string& content, std::string_view partName);
// sizeHint: the part's size as it was read.
std::string SavePart(const pugi::xml_document& document, std::size_t sizeHint);
void SavePart(const pugi::xml_document& document, pugi::xml_writer& out);

// A part written out piece by piece rather than saved whole, so that the
// parsed tree need not be edited: an untouched subtree is printed as it
// is, an element around changed ones gets its tags here and its children
// from the caller. pugixml writes only whole subtrees, so an element's
// start tag comes from a childless copy of it, printed in full and cut
// before its end tag: its attributes are escaped as pugixml escapes them
// everywhere else.
class ElementWriter {
 public:
  static constexpr unsigned kPrintFlags = pugi::format_raw | pugi::format_no_declaration;

  explicit ElementWriter(pugi::xml_writer& out) : out_(out) {}

  void Whole(pugi::xml_node node) { node.print(out_, "", kPrintFlags, pugi::encoding_utf8); }
  void Raw(std::string_view text) { out_.write(text.data(), text.size()); }

  // adjust may change the start tag's attributes (in the copy).
  template <typename Children, typename Adjust>
  void Around(pugi::xml_node element, Children children, Adjust adjust) {
    bare_.reset();
    pugi::xml_node copy = bare_.append_child(element.name());
    for (pugi::xml_attribute a : element.attributes()) copy.append_copy(a);
    adjust(copy);
    TextWriter text;  // each level its own: children() writes tags of its own
    copy.print(text, "", kPrintFlags | pugi::format_no_empty_element_tags, pugi::encoding_utf8);
    const std::size_t endTag = std::strlen(element.name()) + 3;  // "</" name ">"
    out_.write(text.text.data(), text.text.size() - endTag);
    children();
    out_.write(text.text.data() + text.text.size() - endTag, endTag);
  }
  template <typename Children>
  void Around(pugi::xml_node element, Children children) {
    Around(element, children, [](pugi::xml_node) {});
  }

 private:
  struct TextWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
  };
  pugi::xml_writer& out_;
  pugi::xml_document bare_;
};

// "a:latin" and "latin" both give "latin".
std::string_view LocalName(pugi::xml_node node);
// "a:" for "a:rPr", "" for "rPr": new children take their parent's prefix.
std::string_view PrefixOf(pugi::xml_node node);
std::string QualifiedName(pugi::xml_node parent, std::string_view local);

pugi::xml_node ChildNamed(pugi::xml_node parent, std::string_view local);
// The attribute by local name ("r:id" is found as "id"); prefer plain names
// where the format uses unprefixed attributes.
pugi::xml_attribute AttributeNamed(pugi::xml_node node, std::string_view local);

// Every element below root in document order, walked without recursion so
// that a deeply nested part cannot exhaust the stack.
template <typename Visit>
void ForEachElementBelow(pugi::xml_node root, Visit visit) {
  for (pugi::xml_node node = root.first_child(); node;) {
    if (node.type() == pugi::node_element) visit(node);
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node != root && !node.next_sibling()) node = node.parent();
    if (node == root) break;
    node = node.next_sibling();
  }
}

// A new child placed where its parent's sequence wants it: before the first
// existing child whose rank (from rankOf) is higher. Unknown children rank
// highest so that extensions stay last.
pugi::xml_node InsertChildInOrder(pugi::xml_node parent, std::string_view local, int (*rankOf)(std::string_view));

}  // namespace lk::documents
