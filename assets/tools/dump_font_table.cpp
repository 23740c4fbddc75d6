// Prints what each code of a legacy font draws, as the converter reads it, so
// that assets/make_test_font.py draws the same table the converter uses:
//   lk_dump_font_table [FONT]      (FONT as lekhopakar-convert --font takes it; default Preeti)
// One line per code that draws something:
//   code (hex) TAB code points (hex, blank-separated) TAB drawn|read-only
// Code points U+E000, U+E001 and U+E002 stand for reph, the hook and eyelash RA.
#include <cstdio>
#include <string>

#include "convert/font_tables.h"
#include "convert/legacy_font.h"

int main(int argc, char** argv) {
  using namespace lk::convert;
  LegacyFont font = LegacyFont::kPreeti;
  if (argc > 2) {
    std::fprintf(stderr, "usage: lk_dump_font_table [FONT]\n");
    return 2;
  }
  if (argc == 2) {
    const auto named = LegacyFontByName(argv[1]);
    if (!named) {
      std::fprintf(stderr, "lk_dump_font_table: unknown font \"%s\"\n", argv[1]);
      return 2;
    }
    font = *named;
  }
  const FontTable& table = TableFor(font);
  for (unsigned code = 0; code < table.glyphs.size(); ++code) {
    const Glyph& glyph = table.glyphs[code];
    if (glyph.length == 0) continue;
    std::string points;
    for (char32_t c : glyph.view()) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "%s%04X", points.empty() ? "" : " ", static_cast<unsigned>(c));
      points += hex;
    }
    std::printf("%02X\t%s\t%s\n", code, points.c_str(), glyph.readOnly ? "read-only" : "drawn");
  }
  return std::ferror(stdout) ? 1 : 0;
}
