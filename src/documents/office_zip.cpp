// The Office converters driven from a zip package. Apart from the
// converters themselves, which the tests drive from parts held in memory.
#include "documents/office_parts.h"
#include "documents/package.h"
#include "documents/sheets_and_slides.h"
#include "documents/xml_part.h"

namespace lk::documents {

std::vector<std::string> ZipPartSource::Names() const {
  std::vector<std::string> names;
  for (const PartInfo& part : reader_.parts()) names.push_back(part.name);
  return names;
}

bool ZipPartSource::Has(std::string_view name) const { return reader_.Has(name); }
std::string ZipPartSource::Read(std::string_view name) { return reader_.Read(name); }

void ZipPartSink::Copy(std::string_view name) { writer_.CopyRaw(reader_, name); }
void ZipPartSink::Add(std::string_view name, std::string_view content) { writer_.Add(name, content); }
void ZipPartSink::AddSaved(std::string_view name, const pugi::xml_document& document) {
  writer_.AddWritten(name, [&](pugi::xml_writer& out) { SavePart(document, out); });
}

void ConvertXlsx(PackageReader& reader, PackageWriter& writer, const ConvertSettings& settings, Tally& tally,
                 const std::atomic<bool>* cancel) {
  ZipPartSource source(reader);
  ZipPartSink sink(reader, writer);
  ConvertXlsxParts(source, sink, settings, tally, cancel);
}

void ConvertPptx(PackageReader& reader, PackageWriter& writer, const ConvertSettings& settings, Tally& tally,
                 const std::atomic<bool>* cancel) {
  ZipPartSource source(reader);
  ZipPartSink sink(reader, writer);
  ConvertPptxParts(source, sink, settings, tally, cancel);
}

}  // namespace lk::documents
