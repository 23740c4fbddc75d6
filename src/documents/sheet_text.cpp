#include "documents/sheet_text.h"

#include <vector>

#include "documents/xml_part.h"
#include "text/utf8.h"

namespace lk::documents {
namespace {

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Whether text holds "_xHHHH_" at pos.
bool EscapeAt(std::string_view text, std::size_t pos) {
  if (pos + 7 > text.size() || text[pos] != '_' || text[pos + 1] != 'x' || text[pos + 6] != '_') return false;
  for (std::size_t i = pos + 2; i < pos + 6; ++i)
    if (!IsHex(text[i])) return false;
  return true;
}

std::string TextOf(pugi::xml_node t) { return DecodeEscapes(t.text().get()); }

void SetText(pugi::xml_node t, std::string_view text) {
  while (t.first_child()) t.remove_child(t.first_child());
  t.append_child(pugi::node_pcdata).set_value(EncodeEscapes(text).c_str());
  const bool edges = !text.empty() && (text.front() == ' ' || text.back() == ' ' || text.front() == '\t' ||
                                       text.back() == '\t' || text.front() == '\n' || text.back() == '\n');
  pugi::xml_attribute space = t.attribute("xml:space");
  if (edges && !space) t.append_attribute("xml:space").set_value("preserve");
}

// A run's rPr naming the family, after the font the cell showed it in.
pugi::xml_node NewRunProperties(pugi::xml_node run, const CellFont& cell) {
  pugi::xml_node properties = run.prepend_child(QualifiedName(run, "rPr").c_str());
  for (pugi::xml_node child : cell.font.children()) {
    if (child.type() != pugi::node_element) continue;
    const std::string_view name = LocalName(child);
    if (name == "scheme" || name == "charset") continue;
    pugi::xml_node copy = properties.append_copy(child);
    if (name == "name") copy.set_name(QualifiedName(run, "rFont").c_str());
  }
  return properties;
}

void NameFont(pugi::xml_node properties, std::string_view family) {
  // The theme would win over the name, and the old character set would
  // pick the old family's glyphs.
  for (std::string_view dropped : {"scheme", "charset"})
    while (pugi::xml_node child = ChildNamed(properties, dropped)) properties.remove_child(child);
  pugi::xml_node rFont = ChildNamed(properties, "rFont");
  if (!rFont) rFont = properties.prepend_child(QualifiedName(properties, "rFont").c_str());
  pugi::xml_attribute val = rFont.attribute("val");
  if (!val) val = rFont.append_attribute("val");
  val.set_value(std::string(family).c_str());
}

// Whether a run names its font itself rather than taking the cell's.
bool NamesItsFont(pugi::xml_node run) {
  pugi::xml_node properties = ChildNamed(run, "rPr");
  return ChildNamed(properties, "rFont") || ChildNamed(properties, "scheme");
}

// A rich string's runs as the run model's pieces; phonetic runs stay as
// they are.
void RichPieces(pugi::xml_node item, const CellFont& cell, const ThemeFonts& theme, std::vector<Piece>& pieces,
                std::vector<pugi::xml_node>* runs) {
  for (pugi::xml_node run = item.first_child(); run; run = run.next_sibling()) {
    if (run.type() != pugi::node_element || LocalName(run) != "r") continue;
    Piece piece;
    piece.text = TextOf(ChildNamed(run, "t"));
    piece.family = NamesItsFont(run) ? LegacyFamilyOf(FontNameOf(ChildNamed(run, "rPr"), theme)) : cell.family;
    pieces.push_back(std::move(piece));
    if (runs) runs->push_back(run);
  }
}

}  // namespace

std::string FontNameOf(pugi::xml_node font, const ThemeFonts& theme) {
  const std::string_view scheme = ChildNamed(font, "scheme").attribute("val").value();
  if (scheme == "minor") return theme.minorLatin;
  if (scheme == "major") return theme.majorLatin;
  pugi::xml_node name = ChildNamed(font, "name");
  if (!name) name = ChildNamed(font, "rFont");
  return name.attribute("val").value();
}

bool SheetStringMayChange(pugi::xml_node item, const CellFont& cell, const ThemeFonts& theme,
                          const ConvertSettings& settings) {
  if (settings.direction == convert::Direction::kToUnicode) {
    // Only the fonts matter: no text need be read.
    if (ChildNamed(item, "t")) return cell.family.has_value();
    for (pugi::xml_node run = item.first_child(); run; run = run.next_sibling()) {
      if (run.type() != pugi::node_element || LocalName(run) != "r") continue;
      if (NamesItsFont(run) ? LegacyFamilyOf(FontNameOf(ChildNamed(run, "rPr"), theme)).has_value()
                            : cell.family.has_value())
        return true;
    }
    return false;
  }
  std::vector<Piece> pieces;
  if (pugi::xml_node t = ChildNamed(item, "t"))
    pieces.push_back({TextOf(t), cell.family, true});
  else
    RichPieces(item, cell, theme, pieces, nullptr);
  for (const Piece& piece : pieces)
    if (!piece.family && HoldsDevanagari(piece.text)) return true;
  return false;
}

StringOutcome ConvertSheetString(pugi::xml_node item, const CellFont& cell, bool canChangeCellFont,
                                 const ThemeFonts& theme, const ConvertSettings& settings, Tally& tally) {
  StringOutcome outcome;
  const std::string family = settings.NewFamily();

  if (pugi::xml_node t = ChildNamed(item, "t")) {
    std::vector<Piece> pieces{{TextOf(t), cell.family, true}};
    const PieceResult result = std::move(ConvertPieces(pieces, settings, tally).front());
    if (!result.changed()) return outcome;
    outcome.changed = true;
    if (result.segments.size() == 1 && canChangeCellFont) {
      SetText(t, result.segments.front().text);
      outcome.cellTakesNewFont = true;
      return outcome;
    }
    // Only part of it takes the new family (or the cell cannot): the plain
    // string becomes runs, the converted ones with a font of their own.
    for (const Segment& segment : result.segments) {
      pugi::xml_node run = item.insert_child_before(QualifiedName(item, "r").c_str(), t);
      SetText(run.append_child(QualifiedName(item, "t").c_str()), segment.text);
      if (segment.converted) NameFont(NewRunProperties(run, cell), family);
    }
    item.remove_child(t);
    return outcome;
  }

  std::vector<Piece> pieces;
  std::vector<pugi::xml_node> runs;
  RichPieces(item, cell, theme, pieces, &runs);
  if (pieces.empty()) return outcome;
  const std::vector<PieceResult> results = ConvertPieces(pieces, settings, tally);
  for (std::size_t i = 0; i < results.size(); ++i) {
    const PieceResult& result = results[i];
    if (!result.changed()) continue;
    outcome.changed = true;
    const bool ownFont = NamesItsFont(runs[i]);
    std::vector<pugi::xml_node> copies{runs[i]};
    for (std::size_t s = 1; s < result.segments.size(); ++s)
      copies.push_back(item.insert_copy_after(runs[i], copies.back()));
    for (std::size_t s = 0; s < result.segments.size(); ++s) {
      pugi::xml_node run = copies[s];
      pugi::xml_node t = ChildNamed(run, "t");
      if (!t) t = run.append_child(QualifiedName(run, "t").c_str());
      SetText(t, result.segments[s].text);
      if (!result.segments[s].converted) continue;
      if (ownFont) {
        NameFont(ChildNamed(run, "rPr"), family);
      } else if (result.segments.size() == 1 && canChangeCellFont &&
                 settings.direction == convert::Direction::kToUnicode) {
        // Every run taking the cell's font is legacy here, so they all
        // convert and the cell's new font serves them all.
        outcome.cellTakesNewFont = true;
      } else {
        pugi::xml_node properties = ChildNamed(run, "rPr");
        if (!properties) properties = NewRunProperties(run, cell);
        NameFont(properties, family);
      }
    }
  }
  return outcome;
}

std::string DecodeEscapes(std::string_view stored) {
  if (stored.find("_x") == std::string_view::npos) return std::string(stored);
  std::string out;
  out.reserve(stored.size());
  for (std::size_t pos = 0; pos < stored.size();) {
    if (EscapeAt(stored, pos)) {
      const char32_t c = static_cast<char32_t>(std::stoul(std::string(stored.substr(pos + 2, 4)), nullptr, 16));
      if (c >= 0xD800 && c <= 0xDFFF) {  // half a pair: kept as written
        out.push_back(stored[pos++]);
        continue;
      }
      char bytes[4];
      out.append(bytes, text::EncodeUtf8(c, bytes));
      pos += 7;
    } else {
      out.push_back(stored[pos++]);
    }
  }
  return out;
}

std::string EncodeEscapes(std::string_view text, EscapeStyle style) {
  const bool columnName = style == EscapeStyle::kColumnName;
  const char* const hex = columnName ? "0123456789abcdef" : "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    // A literal "_xHHHH_" would read back as the character it spells.
    if (EscapeAt(text, pos)) {
      out += columnName ? "_x005f" : "_x005F";  // the underscore itself follows
    } else if (c < 0x20 && (columnName || (c != '\t' && c != '\n'))) {
      out += "_x00";
      out.push_back(hex[c >> 4]);
      out.push_back(hex[c & 15]);
      out.push_back('_');
      continue;
    }
    out.push_back(static_cast<char>(c));
  }
  return out;
}

}  // namespace lk::documents
