#include "documents/odf.h"

#include <map>
#include <memory>
#include <set>

#include "documents/odf_styles.h"
#include "documents/odf_text.h"

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
  // A converted part is held parsed until its turn and written straight
  // into its zip entry: no whole-part text is held beside its tree.
  std::map<std::string, std::unique_ptr<odf::XmlPart>, std::less<>> rewritten;
  const auto read = [&](odf::XmlPart& part) {
    if (!reader.Has(part.name)) return false;
    std::string xml = reader.Read(part.name);
    if (xml.empty()) return false;
    odf::ParsePart(part, std::move(xml));
    return true;
  };
  for (const PartInfo& part : reader.parts()) {
    ThrowIfCancelled(cancel);
    if (part.name == "mimetype") continue;
    const std::size_t slash = part.name.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : part.name.substr(0, slash + 1);
    const std::string_view base = std::string_view(part.name).substr(folder.size());
    if ((base == "content.xml" || base == "styles.xml") && converted.insert(folder).second) {
      auto styles = std::make_unique<odf::XmlPart>(), content = std::make_unique<odf::XmlPart>();
      styles->name = folder + "styles.xml";
      content->name = folder + "content.xml";
      const bool hasStyles = read(*styles), hasContent = read(*content);
      odf::StyleSheet sheet(hasStyles ? styles.get() : nullptr, hasContent ? content.get() : nullptr);
      if (hasStyles) odf::ConvertPartText(*styles, sheet, settings, tally, cancel);
      if (hasContent) odf::ConvertPartText(*content, sheet, settings, tally, cancel);
      if (styles->changed) rewritten.emplace(styles->name, std::move(styles));
      if (content->changed) rewritten.emplace(content->name, std::move(content));
    }
    if (auto found = rewritten.find(part.name); found != rewritten.end()) {
      writer.AddWritten(part.name, [&](pugi::xml_writer& out) { odf::SavePart(*found->second, out); });
      rewritten.erase(found);
    } else {
      writer.CopyRaw(reader, part.name);
    }
  }
}

}  // namespace lk::documents
