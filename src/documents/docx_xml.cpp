#include "documents/docx_xml.h"

#include "documents/document_file.h"

namespace lk::documents::docx {
namespace {

constexpr std::string_view kTransitional = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr std::string_view kStrict = "http://purl.oclc.org/ooxml/wordprocessingml/main";

// Blanks inside texts are the document's own; comments and processing
// instructions pass through; no entity is ever expanded.
constexpr unsigned kParseOptions = pugi::parse_full | pugi::parse_ws_pcdata;

class StringWriter : public pugi::xml_writer {
 public:
  explicit StringWriter(std::string& out) : out_(out) {}
  void write(const void* data, size_t size) override { out_.append(static_cast<const char*>(data), size); }

 private:
  std::string& out_;
};

}  // namespace

void ParsePart(pugi::xml_document& doc, std::string& xml, std::string_view partName) {
  const pugi::xml_parse_result result = doc.load_buffer_inplace(xml.data(), xml.size(), kParseOptions);
  if (!result) {
    throw DocumentError(std::string(partName) + " is not well-formed XML (" + result.description() + " at byte " +
                        std::to_string(result.offset) + ")");
  }
  if (!doc.document_element()) throw DocumentError(std::string(partName) + " holds no XML element");
}

std::string SavePart(const pugi::xml_document& doc, std::size_t sizeHint) {
  std::string out;
  // Converted runs gain their fonts and complex-script twins: a part of
  // short runs comes out twice its size. Pages reserved and never written
  // cost no memory, a reallocation half-way costs both copies at once.
  out.reserve(sizeHint * 2 + 4096);
  StringWriter writer(out);
  doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out;
}

Wml::Wml(pugi::xml_node root) {
  for (pugi::xml_attribute a : root.attributes()) {
    const std::string_view name = a.name();
    const std::string_view value = a.value();
    if (value != kTransitional && value != kStrict) continue;
    if (name == "xmlns") {
      prefix_.clear();
      return;
    }
    if (name.starts_with("xmlns:")) {
      prefix_ = name.substr(6);
      return;
    }
  }
}

namespace {

// Whether text starts with head; stops at text's terminator, so it never
// reads past a name shorter than head. Called for every node a walk
// passes: a library call per comparison cost more than the comparing.
inline const char* AfterHead(const char* text, std::string_view head) {
  for (char c : head)
    if (*text++ != c) return nullptr;
  return text;
}

}  // namespace

bool Wml::Matches(const char* qualified, std::string_view local) const {
  if (!prefix_.empty()) {
    qualified = AfterHead(qualified, prefix_);
    if (!qualified || *qualified++ != ':') return false;
  }
  qualified = AfterHead(qualified, local);
  return qualified && *qualified == '\0';
}

std::optional<std::string_view> Wml::Local(const char* qualified) const {
  if (!prefix_.empty()) {
    qualified = AfterHead(qualified, prefix_);
    if (!qualified || *qualified++ != ':') return std::nullopt;
  }
  return std::string_view(qualified);
}

std::string Wml::Name(std::string_view local) const {
  if (prefix_.empty()) return std::string(local);
  std::string name = prefix_;
  name += ':';
  name += local;
  return name;
}

pugi::xml_node Wml::Child(pugi::xml_node parent, std::string_view local) const {
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element && Is(c, local)) return c;
  return {};
}

pugi::xml_attribute Wml::Attr(pugi::xml_node node, std::string_view local) const {
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
    if (Matches(a.name(), local)) return a;
  return {};
}

std::string_view Wml::ChildVal(pugi::xml_node parent, std::string_view local) const {
  return Attr(Child(parent, local), "val").value();
}

std::string_view LocalName(const char* qualified) {
  const std::string_view name(qualified);
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

}  // namespace lk::documents::docx
