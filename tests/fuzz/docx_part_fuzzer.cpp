// libFuzzer target for one Word part converted run by run: whatever XML
// comes in (runs in any container, styles with loops, symbols, text boxes),
// the converter either names the part in a DocumentError or writes XML
// that parses again; to Unicode, converting its output a second time
// changes nothing.
//
// Input: byte 0 picks the direction (bit 0: to legacy); then the styles
// part, a NUL, and the document part (no NUL: no styles).
#include <cstdint>
#include <string>
#include <string_view>

#include "documents/document_file.h"
#include "documents/docx_part.h"
#include "documents/docx_styles.h"
#include "fuzz_check.h"
#include "pugixml.hpp"

using namespace lk::documents;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  ConvertSettings settings;
  settings.direction = (data[0] & 1) ? lk::convert::Direction::kToLegacy : lk::convert::Direction::kToUnicode;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t nul = rest.find('\0');
  const std::string styles(nul == std::string_view::npos ? std::string_view() : rest.substr(0, nul));
  const std::string part(nul == std::string_view::npos ? rest : rest.substr(nul + 1));

  docx::WordFonts fonts;
  try {
    fonts = docx::WordFonts(styles, "word/styles.xml", "", "");
  } catch (const DocumentError& e) {
    CHECK(std::string_view(e.what()).find("word/styles.xml") != std::string_view::npos);
    return 0;
  }
  Tally tally;
  std::optional<std::string> out;
  try {
    out = docx::ConvertWordXml(part, "word/document.xml", fonts, settings, tally);
  } catch (const DocumentError& e) {
    CHECK(std::string_view(e.what()).find("word/document.xml") != std::string_view::npos);
    return 0;
  }
  if (!out) return 0;
  pugi::xml_document reparsed;
  CHECK(reparsed.load_string(out->c_str(), pugi::parse_full | pugi::parse_ws_pcdata));
  if (settings.direction == lk::convert::Direction::kToUnicode) {
    Tally again;
    CHECK(!docx::ConvertWordXml(*out, "word/document.xml", fonts, settings, again));
  }
  return 0;
}
