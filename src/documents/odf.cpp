#include "documents/odf.h"

#include <map>
#include <set>

namespace lk::documents {
namespace {

constexpr std::string_view kManifest = "META-INF/manifest.xml";

std::string Mimetype(PackageReader& reader, std::string_view manifestMimetype) {
  std::string mimetype;
  if (reader.Has("mimetype")) {
    for (const PartInfo& part : reader.parts())
      if (part.name == "mimetype" && part.size > 1024)
        throw DocumentError("this is not an OpenDocument file (its mimetype entry is too long)");
    mimetype = reader.Read("mimetype");
  } else {
    // Some writers leave the entry out; the manifest says the same.
    mimetype = manifestMimetype;
  }
  if (!IsOpenDocumentMimetype(mimetype))
    throw DocumentError("this is not an OpenDocument file (it does not say it is one)");
  return mimetype;
}

}  // namespace

void ConvertOpenDocument(PackageReader& reader, PackageWriter& writer, const ConvertSettings& settings, Tally& tally,
                         const std::atomic<bool>* cancel) {
  if (!reader.Has(kManifest)) throw DocumentError("this is not an OpenDocument file (it has no manifest)");
  const std::string manifestMimetype = ManifestMimetype(reader.Read(kManifest));
  writer.Add("mimetype", Mimetype(reader, manifestMimetype), /*store=*/true);

  // Each folder holding content.xml or styles.xml is a document: the
  // package's own at the top, embedded objects and charts below it.
  std::set<std::string> converted;
  std::map<std::string, std::string, std::less<>> rewritten;
  for (const PartInfo& part : reader.parts()) {
    ThrowIfCancelled(cancel);
    if (part.name == "mimetype") continue;
    const std::size_t slash = part.name.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : part.name.substr(0, slash + 1);
    const std::string_view base = std::string_view(part.name).substr(folder.size());
    if ((base == "content.xml" || base == "styles.xml") && converted.insert(folder).second) {
      OpenDocumentXml xml;
      if (reader.Has(folder + "styles.xml")) xml.styles = reader.Read(folder + "styles.xml");
      if (reader.Has(folder + "content.xml")) xml.content = reader.Read(folder + "content.xml");
      ConvertOpenDocumentXml(xml, settings, tally, cancel, folder);
      if (xml.stylesChanged) rewritten.emplace(folder + "styles.xml", std::move(xml.styles));
      if (xml.contentChanged) rewritten.emplace(folder + "content.xml", std::move(xml.content));
    }
    if (auto found = rewritten.find(part.name); found != rewritten.end()) {
      writer.Add(part.name, found->second);
      rewritten.erase(found);
    } else {
      writer.CopyRaw(reader, part.name);
    }
  }
}

}  // namespace lk::documents
