// libFuzzer target for the RTF reader/writer, both ways, every family:
// whatever bytes come in, it returns or refuses with DocumentError, its
// plain text is UTF-8, a document it finds nothing to convert in comes back
// byte for byte, and converting its output again changes nothing.
//
// Input: byte 0 picks the direction (bit 0: to legacy) and the family (the
// rest, in kAllLegacyFonts order); the rest is the RTF.
#include <cstdint>
#include <iterator>
#include <string_view>

#include "documents/document_file.h"
#include "documents/rtf.h"
#include "fuzz_check.h"
#include "text/utf8.h"

using namespace lk::documents;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  ConvertSettings settings;
  settings.direction = (data[0] & 1) ? lk::convert::Direction::kToLegacy : lk::convert::Direction::kToUnicode;
  settings.options.font = lk::convert::kAllLegacyFonts[(data[0] >> 1) % std::size(lk::convert::kAllLegacyFonts)];
  const std::string_view rtf(reinterpret_cast<const char*>(data + 1), size - 1);
  RtfLimits limits;
  limits.maxDepth = 64;  // reached by inputs the fuzzer can grow
  limits.paragraphPart = 256;  // so is a paragraph converted in parts

  RtfResult once;
  try {
    once = ConvertRtf(rtf, settings, limits);
  } catch (const DocumentError&) {
    return 0;
  }
  CHECK(!lk::text::FirstInvalidUtf8(once.plainText).has_value());
  const bool found = settings.direction == lk::convert::Direction::kToUnicode ? once.sawLegacyRuns : once.sawDevanagari;
  if (!found) {
    CHECK(once.rtf == rtf);
    CHECK(once.tally.convertedRuns == 0);
  }

  // A run rewritten at the deepest level takes a group of its own, one
  // level deeper.
  RtfLimits again = limits;
  ++again.maxDepth;
  RtfResult twice;
  try {
    twice = ConvertRtf(once.rtf, settings, again);
  } catch (const DocumentError&) {
    CHECK(!"our own output was refused");
  }
  CHECK(twice.rtf == once.rtf);
  CHECK(twice.plainText == once.plainText);
  return 0;
}
