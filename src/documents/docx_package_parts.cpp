#include "documents/docx_package_parts.h"

#include <unordered_map>

#include "documents/docx_xml.h"

namespace lk::documents::docx {
namespace {

constexpr std::string_view kWordml = "application/vnd.openxmlformats-officedocument.wordprocessingml.";

// The main document as .docx, .docm, .dotx and .dotm give it, and the
// glossary of building blocks.
bool IsDocumentType(std::string_view type) {
  return type == "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml" ||
         type == "application/vnd.ms-word.document.macroEnabled.main+xml" ||
         type == "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml" ||
         type == "application/vnd.ms-word.template.macroEnabledTemplate.main+xml" ||
         type == "application/vnd.openxmlformats-officedocument.wordprocessingml.document.glossary+xml";
}

bool IsTextType(std::string_view type) {
  if (!type.starts_with(kWordml)) return false;
  type.remove_prefix(kWordml.size());
  return type == "header+xml" || type == "footer+xml" || type == "footnotes+xml" || type == "endnotes+xml" ||
         type == "comments+xml";
}

std::string Lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

pugi::xml_attribute AttributeByLocalName(pugi::xml_node node, std::string_view local) {
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
    if (LocalName(a.name()) == local) return a;
  return {};
}

}  // namespace

bool SamePartName(std::string_view a, std::string_view b) { return Lowered(a) == Lowered(b); }

std::vector<WordPartKind> ClassifyParts(std::string contentTypes, const std::vector<PartInfo>& parts) {
  pugi::xml_document doc;
  ParsePart(doc, contentTypes, "[Content_Types].xml");
  std::unordered_map<std::string, std::string> byExtension, byName;
  for (pugi::xml_node n = doc.document_element().first_child(); n; n = n.next_sibling()) {
    const std::string_view local = LocalName(n.name());
    const std::string type = AttributeByLocalName(n, "ContentType").value();
    if (local == "Default") byExtension[Lowered(AttributeByLocalName(n, "Extension").value())] = type;
    if (local == "Override") {
      std::string_view name = AttributeByLocalName(n, "PartName").value();
      if (name.starts_with('/')) name.remove_prefix(1);
      byName[Lowered(name)] = type;
    }
  }
  std::vector<WordPartKind> kinds;
  kinds.reserve(parts.size());
  for (const PartInfo& part : parts) {
    std::string type;
    if (const auto found = byName.find(Lowered(part.name)); found != byName.end()) {
      type = found->second;
    } else if (const std::size_t dot = part.name.rfind('.'); dot != std::string::npos) {
      if (const auto ext = byExtension.find(Lowered(part.name.substr(dot + 1))); ext != byExtension.end())
        type = ext->second;
    }
    kinds.push_back(IsDocumentType(type) ? WordPartKind::kDocument
                    : IsTextType(type)   ? WordPartKind::kText
                                         : WordPartKind::kOther);
  }
  return kinds;
}

std::string RelationshipsPartOf(std::string_view part) {
  const std::size_t slash = part.rfind('/');
  const std::string_view folder = slash == std::string_view::npos ? std::string_view() : part.substr(0, slash + 1);
  const std::string_view file = slash == std::string_view::npos ? part : part.substr(slash + 1);
  return std::string(folder) + "_rels/" + std::string(file) + ".rels";
}

std::string RelationshipTarget(std::string rels, std::string_view relsName, std::string_view source,
                               std::string_view typeSuffix) {
  pugi::xml_document doc;
  ParsePart(doc, rels, relsName);
  const std::string suffix = "/" + std::string(typeSuffix);
  for (pugi::xml_node n = doc.document_element().first_child(); n; n = n.next_sibling()) {
    if (LocalName(n.name()) != "Relationship") continue;
    if (std::string_view(AttributeByLocalName(n, "TargetMode").value()) == "External") continue;
    if (!std::string_view(AttributeByLocalName(n, "Type").value()).ends_with(suffix)) continue;
    return ResolveTarget(source, AttributeByLocalName(n, "Target").value());
  }
  return {};
}

std::string ResolveTarget(std::string_view source, std::string_view target) {
  std::string path;
  if (target.starts_with('/')) {
    path = target.substr(1);
  } else {
    const std::size_t slash = source.rfind('/');
    if (slash != std::string_view::npos) path = source.substr(0, slash + 1);
    path += target;
  }
  std::vector<std::string> segments;
  std::size_t begin = 0;
  while (begin <= path.size()) {
    std::size_t end = path.find('/', begin);
    if (end == std::string::npos) end = path.size();
    const std::string segment = path.substr(begin, end - begin);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    begin = end + 1;
  }
  std::string resolved;
  for (const std::string& s : segments) {
    if (!resolved.empty()) resolved += '/';
    resolved += s;
  }
  return resolved;
}

}  // namespace lk::documents::docx
