#pragma once
// A converted run's new w:rPr. Word refuses a file whose w:rPr children are
// out of the schema's order (LibreOffice does not), so every element added
// goes where CT_RPr's sequence puts it.
#include <string_view>

#include "documents/docx_styles.h"
#include "documents/docx_xml.h"
#include "pugixml.hpp"

namespace lk::documents::docx {

// To Unicode: the Unicode font in all four slots with no theme attribute
// left to outrank it (or the ASCII punctuation of the converted text would
// still draw in the legacy family through a style); bold, italic and size
// mirrored into their complex-script twins, where Word takes them from for
// Devanagari; the complex-script language named.
void GiveUnicodeFont(pugi::xml_node run, const RunProps& resolved, std::string_view unicodeFont, const Wml& w);

// To legacy: the family in all four slots, so that codes above 0x7F (the
// hAnsi slot) draw in it too.
void GiveLegacyFont(pugi::xml_node run, std::string_view family, const Wml& w);

// The run's w:rPr, made as its first child when it has none.
pugi::xml_node RunPropertiesOf(pugi::xml_node run, const Wml& w);

// The rPr child of that name, inserted at its place in the sequence when
// missing.
pugi::xml_node PropertyOf(pugi::xml_node rPr, std::string_view local, const Wml& w);

}  // namespace lk::documents::docx
