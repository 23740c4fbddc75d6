#pragma once
// One WordprocessingML part (the body, a header, the notes, the comments)
// converted run by run. Every paragraph, text boxes' included, becomes the
// run model's pieces; the results go back into the runs they came from.
#include <atomic>
#include <optional>
#include <string>
#include <string_view>

#include "documents/docx_styles.h"
#include "documents/run_model.h"

namespace lk::documents::docx {

// The part's new text, or none when no run changed (the caller then copies
// the part as it was). Throws DocumentError naming the part when it is not
// well-formed, Cancelled when cancel is set (polled between paragraphs).
std::optional<std::string> ConvertWordXml(std::string xml, std::string_view partName, const WordFonts& fonts,
                                          const ConvertSettings& settings, Tally& tally,
                                          const std::atomic<bool>* cancel = nullptr);

}  // namespace lk::documents::docx
