// Stand-ins for the format converters while their own sources are not in
// this tree yet (tests/CMakeLists.txt compiles this file only then), so the
// file layer's tests can run through ConvertDocumentFile. They do the least
// a converter does: every part copied as stored, the main document read
// whole and written back, the cancel flag polled between parts.
#include <filesystem>

#include "documents/docx.h"
#include "documents/rtf.h"

namespace lk::documents {

#ifndef LK_HAVE_DOCX
void ConvertDocx(PackageReader& reader, PackageWriter& writer, const ConvertSettings&, Tally& tally,
                 const std::atomic<bool>* cancel) {
  if (!reader.Has("word/document.xml")) throw DocumentError("word/document.xml is missing");
  for (const PartInfo& part : reader.parts()) {
    if (cancel && cancel->load()) throw Cancelled();
    if (part.name == "word/document.xml") {
      writer.Add(part.name, reader.Read(part.name));
      ++tally.convertedRuns;
    } else {
      writer.CopyRaw(reader, part.name);
    }
  }
}
#endif

#ifndef LK_HAVE_RTF
RtfResult ConvertRtf(std::string_view rtf, const ConvertSettings&, const RtfLimits& limits) {
  if (rtf.size() > limits.maxSize) throw DocumentError("too large");
  if (!rtf.starts_with("{\\rtf")) throw DocumentError("this is not RTF");
  RtfResult result;
  result.rtf = std::string(rtf);
  return result;
}
#endif

}  // namespace lk::documents
