#pragma once
// Rich Text Format, as the clipboard's "Rich Text Format" and .rtf files
// carry it: runs whose font is a legacy family converted to Unicode (or
// Devanagari converted to a legacy family), everything else passed through
// as it came. A small streaming tokenizer of our own, bounded in nesting
// depth and size.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "documents/run_model.h"

namespace lk::documents {

struct RtfResult {
  std::string rtf;        // the converted document
  std::string plainText;  // UTF-8 text of the same runs, English kept as English
  Tally tally;
  bool sawLegacyRuns = false;      // to Unicode: some run was in a legacy family
  bool sawDevanagari = false;      // to legacy: some run held Devanagari
};

struct RtfLimits {
  std::uint64_t maxSize = 256ull << 20;
  int maxDepth = 512;
  // Converted text is longer than legacy text (each Devanagari letter a
  // \uN escape), so the output has a bound of its own.
  std::uint64_t maxOutputSize = 1ull << 30;
  // A paragraph whose text grows past this is converted in parts, cut after
  // a blank (where no syllable is open), so that memory stays bounded; past
  // 16 times this it is cut wherever a run ends.
  std::size_t paragraphPart = 1u << 20;
};

// Throws DocumentError when the input is not RTF or breaks a limit.
RtfResult ConvertRtf(std::string_view rtf, const ConvertSettings& settings, const RtfLimits& limits = {});

}  // namespace lk::documents
