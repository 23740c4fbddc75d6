#pragma once
// WordprocessingML (.docx, .docm, .dotx): every text part converted run by
// run, every other part copied as it is.
#include <atomic>

#include "documents/package.h"
#include "documents/run_model.h"

namespace lk::documents {

// Converts the text parts of reader into writer and copies the rest.
// Throws DocumentError (malformed XML names the part) or Cancelled.
void ConvertDocx(PackageReader& reader, PackageWriter& writer, const ConvertSettings& settings, Tally& tally,
                 const std::atomic<bool>* cancel);

}  // namespace lk::documents
