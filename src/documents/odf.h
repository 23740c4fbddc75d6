#pragma once
// OpenDocument (.odt, .ods, .odp): the text of content.xml and styles.xml
// converted span by span, every other part copied as it is, and the
// mimetype entry written first and stored, as readers of the format expect.
#include <atomic>
#include <string>
#include <string_view>

#include "documents/package.h"
#include "documents/run_model.h"

namespace lk::documents {

// Converts the text of reader's document (and of the documents embedded in
// it) into writer and copies the rest. Throws DocumentError (an encrypted
// document, a package that is not OpenDocument, malformed XML naming the
// part) or Cancelled.
void ConvertOpenDocument(PackageReader& reader, PackageWriter& writer, const ConvertSettings& settings, Tally& tally,
                         const std::atomic<bool>* cancel);

// One document's two XML parts, either of which may be empty (absent).
// Those whose text changed are replaced and flagged; the text of the
// others is given up, since a package copies those parts as they are
// stored (holding one part-sized buffer less).
struct OpenDocumentXml {
  std::string styles;
  std::string content;
  bool stylesChanged = false;
  bool contentChanged = false;
};
// `folder` is where the parts lie in the package ("Object 1/"), for messages.
void ConvertOpenDocumentXml(OpenDocumentXml& xml, const ConvertSettings& settings, Tally& tally,
                            const std::atomic<bool>* cancel, const std::string& folder = {});

// The media type META-INF/manifest.xml gives the package (empty if none).
// Throws DocumentError when the manifest names an encryption: the parts
// are then ciphertext.
std::string ManifestMimetype(std::string_view manifest);
bool IsOpenDocumentMimetype(std::string_view mimetype);

}  // namespace lk::documents
