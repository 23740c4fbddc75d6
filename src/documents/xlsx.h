#pragma once
// SpreadsheetML (.xlsx, .xlsm): shared and inline strings, cell comments,
// chart and drawing text converted by the font each shows in; numbers,
// formulas, sheet and defined names left as they are.
#include <atomic>

#include "documents/package.h"
#include "documents/run_model.h"

namespace lk::documents {

class PartSource;
class PartSink;

// Throws DocumentError (malformed XML names the part) or Cancelled.
void ConvertXlsx(PackageReader& reader, PackageWriter& writer, const ConvertSettings& settings, Tally& tally,
                 const std::atomic<bool>* cancel);

// The same over any source of parts.
void ConvertXlsxParts(PartSource& source, PartSink& sink, const ConvertSettings& settings, Tally& tally,
                      const std::atomic<bool>* cancel);

}  // namespace lk::documents
