#pragma once
// Excel and PowerPoint files, converted by the font each run shows in:
// SpreadsheetML (.xlsx, .xlsm): shared and inline strings, cell comments,
// page headers and footers, chart and drawing text, and what repeats the
// converted cells (table column names, charts' cached text); numbers,
// formulas (structured references among them), sheet and defined names
// left as they are. PresentationML (.pptx, .pptm): slides, layouts, masters, notes,
// tables, grouped shapes, charts and SmartArt, each run's font resolved as
// PowerPoint resolves it.
// Each throws DocumentError (malformed XML names the part) or Cancelled.
#include <atomic>

#include "documents/package.h"
#include "documents/run_model.h"

namespace lk::documents {

class PartSource;
class PartSink;

void ConvertXlsx(PackageReader& reader, PackageWriter& writer, const ConvertSettings& settings, Tally& tally,
                 const std::atomic<bool>* cancel);
void ConvertPptx(PackageReader& reader, PackageWriter& writer, const ConvertSettings& settings, Tally& tally,
                 const std::atomic<bool>* cancel);

// The same over any source of parts.
void ConvertXlsxParts(PartSource& source, PartSink& sink, const ConvertSettings& settings, Tally& tally,
                      const std::atomic<bool>* cancel);
void ConvertPptxParts(PartSource& source, PartSink& sink, const ConvertSettings& settings, Tally& tally,
                      const std::atomic<bool>* cancel);

}  // namespace lk::documents
