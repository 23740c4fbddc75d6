#pragma once
// PresentationML (.pptx, .pptm): the text of slides, layouts, masters,
// notes, tables, grouped shapes, charts and SmartArt converted by the font
// each run displays in, resolved as PowerPoint resolves it.
#include <atomic>

#include "documents/package.h"
#include "documents/run_model.h"

namespace lk::documents {

class PartSource;
class PartSink;

// Throws DocumentError (malformed XML names the part) or Cancelled.
void ConvertPptx(PackageReader& reader, PackageWriter& writer, const ConvertSettings& settings, Tally& tally,
                 const std::atomic<bool>* cancel);

// The same over any source of parts.
void ConvertPptxParts(PartSource& source, PartSink& sink, const ConvertSettings& settings, Tally& tally,
                      const std::atomic<bool>* cancel);

}  // namespace lk::documents
