#include "documents/docx.h"

#include <string>
#include <vector>

#include "documents/docx_package_parts.h"
#include "documents/docx_part.h"
#include "documents/docx_styles.h"

namespace lk::documents {
namespace {

using docx::WordFonts;
using docx::WordPartKind;

const PartInfo* FindPart(const std::vector<PartInfo>& parts, std::string_view name) {
  if (name.empty()) return nullptr;
  for (const PartInfo& part : parts)
    if (docx::SamePartName(part.name, name)) return &part;
  return nullptr;
}

void PollCancel(const std::atomic<bool>* cancel) {
  ThrowIfCancelled(cancel);
}

// The styles of one document (the main one or the glossary), with the
// folder whose parts they govern.
struct DocumentFonts {
  std::string folder;
  WordFonts fonts;
};

std::string FolderOf(std::string_view part) {
  const std::size_t slash = part.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

std::vector<DocumentFonts> ReadDocumentFonts(PackageReader& reader, const std::vector<WordPartKind>& kinds) {
  const std::vector<PartInfo>& parts = reader.parts();
  std::vector<DocumentFonts> documents;
  std::string mainTheme;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (kinds[i] != WordPartKind::kDocument) continue;
    const std::string& name = parts[i].name;
    std::string stylesName, themeName;
    if (const PartInfo* rels = FindPart(parts, docx::RelationshipsPartOf(name))) {
      const std::string relsText = reader.Read(rels->name);
      stylesName = docx::RelationshipTarget(relsText, rels->name, name, "styles");
      themeName = docx::RelationshipTarget(relsText, rels->name, name, "theme");
    }
    // A glossary of building blocks often has no theme of its own.
    if (themeName.empty()) themeName = mainTheme;
    if (mainTheme.empty()) mainTheme = themeName;
    const PartInfo* styles = FindPart(parts, stylesName);
    const PartInfo* theme = FindPart(parts, themeName);
    documents.push_back({FolderOf(name), WordFonts(styles ? reader.Read(styles->name) : std::string(), stylesName,
                                                   theme ? reader.Read(theme->name) : std::string(), themeName)});
  }
  return documents;
}

// A part belongs to the document in the deepest folder holding it: the
// glossary's parts sit in a folder under the main document's.
const WordFonts& FontsFor(const std::vector<DocumentFonts>& documents, std::string_view part) {
  const DocumentFonts* best = &documents.front();
  std::size_t bestLength = 0;
  for (const DocumentFonts& d : documents) {
    if (d.folder.size() < bestLength || d.folder.size() > part.size()) continue;
    if (docx::SamePartName(part.substr(0, d.folder.size()), d.folder)) {
      best = &d;
      bestLength = d.folder.size();
    }
  }
  return best->fonts;
}

}  // namespace

void ConvertDocx(PackageReader& reader, PackageWriter& writer, const ConvertSettings& settings, Tally& tally,
                 const std::atomic<bool>* cancel) {
  const std::vector<PartInfo>& parts = reader.parts();
  const PartInfo* types = FindPart(parts, "[Content_Types].xml");
  if (!types) throw DocumentError("it is not a Word document (it has no [Content_Types].xml)");
  const std::vector<WordPartKind> kinds = docx::ClassifyParts(reader.Read(types->name), parts);
  const std::vector<DocumentFonts> documents = ReadDocumentFonts(reader, kinds);
  if (documents.empty()) throw DocumentError("it is not a Word document (it has no document part)");

  for (std::size_t i = 0; i < parts.size(); ++i) {
    PollCancel(cancel);
    const std::string& name = parts[i].name;
    if (kinds[i] == WordPartKind::kOther) {
      writer.CopyRaw(reader, name);
      continue;
    }
    // One part in memory at a time; a part no run of which changed is
    // copied as it was stored.
    const docx::WordPart part(reader.Read(name), name, FontsFor(documents, name), settings);
    if (part.Changes())
      writer.AddWritten(name, [&](pugi::xml_writer& out) { part.Write(out, tally, cancel); });
    else
      writer.CopyRaw(reader, name);
  }
}

}  // namespace lk::documents
