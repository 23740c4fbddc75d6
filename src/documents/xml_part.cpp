#include "documents/xml_part.h"

#include "documents/document_file.h"

namespace lk::documents {
namespace {

// Whitespace-only text is kept (a cell holding one blank), and so are the
// declaration, comments and processing instructions; nothing is expanded
// but the predefined entities and character references.
constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol | pugi::parse_declaration |
                                   pugi::parse_ws_pcdata | pugi::parse_comments | pugi::parse_pi;

struct StringWriter : pugi::xml_writer {
  std::string out;
  void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
};

void ThrowIfFailed(const pugi::xml_document& document, const pugi::xml_parse_result& result,
                   std::string_view partName) {
  if (!result)
    throw DocumentError("the part " + std::string(partName) + " is not well-formed XML (" + result.description() +
                        " at byte " + std::to_string(result.offset) + ")");
  if (!document.document_element())
    throw DocumentError("the part " + std::string(partName) + " holds no XML element");
}

}  // namespace

void ParsePart(pugi::xml_document& document, std::string_view content, std::string_view partName) {
  ThrowIfFailed(document, document.load_buffer(content.data(), content.size(), kParseOptions, pugi::encoding_auto),
                partName);
}

void ParsePartInPlace(pugi::xml_document& document, std::string& content, std::string_view partName) {
  ThrowIfFailed(document,
                document.load_buffer_inplace(content.data(), content.size(), kParseOptions, pugi::encoding_auto),
                partName);
}

std::string SavePart(const pugi::xml_document& document, std::size_t sizeHint) {
  StringWriter writer;
  // Converted text is longer than the legacy codes it replaces (three
  // bytes a letter in UTF-8 for one).
  writer.out.reserve(sizeHint * 2 + 4096);
  SavePart(document, writer);
  return std::move(writer.out);
}

void SavePart(const pugi::xml_document& document, pugi::xml_writer& out) {
  document.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
}

std::string_view LocalName(pugi::xml_node node) {
  std::string_view name = node.name();
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

std::string_view PrefixOf(pugi::xml_node node) {
  std::string_view name = node.name();
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? std::string_view() : name.substr(0, colon + 1);
}

std::string QualifiedName(pugi::xml_node parent, std::string_view local) {
  std::string name(PrefixOf(parent));
  name.append(local);
  return name;
}

pugi::xml_node ChildNamed(pugi::xml_node parent, std::string_view local) {
  // Compared where the name lies: a sheet asks this of every cell, and
  // measuring each name first cost more than the comparing.
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    const char* name = child.name();
    if (const char* colon = std::strchr(name, ':')) name = colon + 1;
    if (std::strncmp(name, local.data(), local.size()) == 0 && name[local.size()] == '\0') return child;
  }
  return {};
}

pugi::xml_attribute AttributeNamed(pugi::xml_node node, std::string_view local) {
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
    std::string_view name = a.name();
    const std::size_t colon = name.find(':');
    if ((colon == std::string_view::npos ? name : name.substr(colon + 1)) == local) return a;
  }
  return {};
}

pugi::xml_node InsertChildInOrder(pugi::xml_node parent, std::string_view local, int (*rankOf)(std::string_view)) {
  const int rank = rankOf(local);
  const std::string name = QualifiedName(parent, local);
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    if (rankOf(LocalName(child)) > rank) return parent.insert_child_before(name.c_str(), child);
  }
  return parent.append_child(name.c_str());
}

}  // namespace lk::documents
