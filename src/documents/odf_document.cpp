#include "documents/odf.h"

#include <cstring>

#include <pugixml.hpp>

#include "documents/odf_styles.h"
#include "documents/odf_text.h"

namespace lk::documents {
namespace {

constexpr std::string_view kMediaTypePrefix = "application/vnd.oasis.opendocument.";
// "application/vnd.oasis.opendocument.presentation-template" is the
// longest the format defines; anything much longer is not a mimetype.
constexpr std::uint64_t kMaxMimetypeSize = 128;

bool HasLocalName(pugi::xml_node node, const char* local) {
  const char* name = node.name();
  const char* colon = std::strchr(name, ':');
  return std::strcmp(colon ? colon + 1 : name, local) == 0;
}

void ParseManifest(pugi::xml_document& manifest, std::string_view xml) {
  if (!manifest.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8))
    throw DocumentError("META-INF/manifest.xml is not well-formed XML");
}

void RefuseEncrypted(const pugi::xml_document& manifest) {
  if (manifest.find_node([](pugi::xml_node node) { return HasLocalName(node, "encryption-data"); }))
    throw DocumentError("this document is password-protected: save it without a password first");
}

// The package's own media type, as the manifest's entry for "/" gives it.
std::string ManifestMediaType(const pugi::xml_document& manifest) {
  for (pugi::xml_node entry : manifest.document_element().children()) {
    if (!HasLocalName(entry, "file-entry")) continue;
    for (pugi::xml_attribute attribute : entry.attributes()) {
      const char* colon = std::strchr(attribute.name(), ':');
      if (std::strcmp(colon ? colon + 1 : attribute.name(), "full-path") == 0 &&
          std::strcmp(attribute.value(), "/") == 0) {
        for (pugi::xml_attribute type : entry.attributes()) {
          const char* typeColon = std::strchr(type.name(), ':');
          if (std::strcmp(typeColon ? typeColon + 1 : type.name(), "media-type") == 0) return type.value();
        }
      }
    }
  }
  return {};
}

}  // namespace

void ConvertOpenDocumentXml(OpenDocumentXml& xml, const ConvertSettings& settings, Tally& tally,
                            const std::atomic<bool>* cancel, const std::string& folder) {
  odf::XmlPart styles, content;
  styles.name = folder + "styles.xml";
  content.name = folder + "content.xml";
  const bool hasStyles = !xml.styles.empty(), hasContent = !xml.content.empty();
  if (hasStyles) odf::ParsePart(styles, std::move(xml.styles));
  if (hasContent) odf::ParsePart(content, std::move(xml.content));
  xml.styles.clear();
  xml.content.clear();
  odf::StyleSheet sheet(hasStyles ? &styles : nullptr, hasContent ? &content : nullptr);
  if (hasStyles) odf::ConvertPartText(styles, sheet, settings, tally, cancel);
  if (hasContent) odf::ConvertPartText(content, sheet, settings, tally, cancel);
  if ((xml.stylesChanged = styles.changed)) xml.styles = odf::SerializePart(styles);
  if ((xml.contentChanged = content.changed)) xml.content = odf::SerializePart(content);
}

std::string ManifestMimetype(std::string_view manifest) {
  pugi::xml_document document;
  ParseManifest(document, manifest);
  RefuseEncrypted(document);
  return ManifestMediaType(document);
}

bool IsOpenDocumentMimetype(std::string_view mimetype) {
  return mimetype.size() <= kMaxMimetypeSize && mimetype.substr(0, kMediaTypePrefix.size()) == kMediaTypePrefix;
}

}  // namespace lk::documents
