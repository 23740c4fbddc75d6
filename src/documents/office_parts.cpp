#include "documents/office_parts.h"

#include <algorithm>

#include "documents/document_file.h"
#include "documents/xml_part.h"

namespace lk::documents {

void PartSink::AddSaved(std::string_view name, const pugi::xml_document& document) {
  Add(name, SavePart(document, 0));
}

namespace {

bool EndsWith(std::string_view text, std::string_view ending) {
  return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string_view WithoutLeadingSlash(std::string_view name) {
  return !name.empty() && name.front() == '/' ? name.substr(1) : name;
}

}  // namespace

ContentTypes::ContentTypes(PartSource& source) {
  constexpr std::string_view kName = "[Content_Types].xml";
  if (!source.Has(kName)) throw DocumentError("the package has no [Content_Types].xml: it is not an Office file");
  pugi::xml_document document;
  ParsePart(document, source.Read(kName), kName);
  for (pugi::xml_node entry : document.document_element().children()) {
    const std::string_view kind = LocalName(entry);
    const std::string type = entry.attribute("ContentType").value();
    if (kind == "Override")
      overrides_[Lower(WithoutLeadingSlash(entry.attribute("PartName").value()))] = type;
    else if (kind == "Default")
      defaults_[Lower(entry.attribute("Extension").value())] = type;
  }
}

std::string ContentTypes::TypeOf(std::string_view partName) const {
  // Part names compare without regard to case.
  const std::string name = Lower(WithoutLeadingSlash(partName));
  if (auto found = overrides_.find(name); found != overrides_.end()) return found->second;
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos)
    if (auto found = defaults_.find(name.substr(dot + 1)); found != defaults_.end()) return found->second;
  return {};
}

bool ContentTypes::Is(std::string_view partName, std::string_view typeEnding) const {
  return EndsWith(TypeOf(partName), typeEnding);
}

std::string ResolvePartName(std::string_view sourcePart, std::string_view target) {
  std::vector<std::string> segments;
  if (!target.empty() && target.front() == '/') {
    target.remove_prefix(1);
  } else {
    std::string_view folder = sourcePart.substr(0, sourcePart.rfind('/') == std::string_view::npos ? 0 : sourcePart.rfind('/'));
    while (!folder.empty()) {
      const std::size_t slash = folder.find('/');
      segments.emplace_back(folder.substr(0, slash));
      if (slash == std::string_view::npos) break;
      folder.remove_prefix(slash + 1);
    }
  }
  while (!target.empty()) {
    const std::size_t slash = target.find('/');
    const std::string_view segment = target.substr(0, slash);
    if (segment == "..") {
      if (segments.empty()) return {};
      segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.emplace_back(segment);
    }
    if (slash == std::string_view::npos) break;
    target.remove_prefix(slash + 1);
  }
  std::string name;
  for (const std::string& segment : segments) {
    if (!name.empty()) name += '/';
    name += segment;
  }
  return name;
}

std::vector<Relationship> RelationshipsOf(PartSource& source, std::string_view partName) {
  const std::size_t slash = partName.rfind('/');
  const std::string folder(slash == std::string_view::npos ? std::string_view() : partName.substr(0, slash + 1));
  const std::string file(slash == std::string_view::npos ? partName : partName.substr(slash + 1));
  const std::string relsName = folder + "_rels/" + file + ".rels";
  std::vector<Relationship> relationships;
  if (!source.Has(relsName)) return relationships;
  pugi::xml_document document;
  ParsePart(document, source.Read(relsName), relsName);
  for (pugi::xml_node entry : document.document_element().children()) {
    if (LocalName(entry) != "Relationship") continue;
    if (std::string_view(entry.attribute("TargetMode").value()) == "External") continue;
    std::string target = ResolvePartName(partName, entry.attribute("Target").value());
    if (target.empty()) continue;
    relationships.push_back({entry.attribute("Type").value(), std::move(target), entry.attribute("Id").value()});
  }
  return relationships;
}

std::string TargetOf(const std::vector<Relationship>& relationships, std::string_view typeEnding) {
  for (const Relationship& r : relationships)
    if (EndsWith(r.type, typeEnding)) return r.target;
  return {};
}


}  // namespace lk::documents
