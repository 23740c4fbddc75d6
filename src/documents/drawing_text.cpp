#include "documents/drawing_text.h"

#include <vector>

#include "documents/run_model.h"
#include "documents/xml_part.h"
#include "text/utf8.h"

namespace lk::documents {
namespace {

bool IsSymbolCode(char32_t c) { return c >= 0xF000 && c <= 0xF0FF; }
bool HoldsSymbolCodes(std::string_view utf8) { return HoldsAny(utf8, IsSymbolCode); }

// a:p inside a text body: a shape's txBody, a chart's rich text or text
// properties, SmartArt's dgm:t.
bool IsTextParagraph(pugi::xml_node node) {
  if (LocalName(node) != "p") return false;
  const std::string_view parent = LocalName(node.parent());
  return parent == "txBody" || parent == "rich" || parent == "txPr" || parent == "t";
}

pugi::xml_node PropertiesOf(pugi::xml_node run) {
  if (pugi::xml_node rPr = ChildNamed(run, "rPr")) return rPr;
  return run.prepend_child(QualifiedName(run, "rPr").c_str());
}

pugi::xml_node TextOf(pugi::xml_node run) {
  if (pugi::xml_node t = ChildNamed(run, "t")) return t;
  return run.append_child(QualifiedName(run, "t").c_str());
}

void SetText(pugi::xml_node element, std::string_view text) {
  while (element.first_child()) element.remove_child(element.first_child());
  element.append_child(pugi::node_pcdata).set_value(std::string(text).c_str());
}

void SetTypeface(pugi::xml_node properties, std::string_view slot, std::string_view typeface) {
  pugi::xml_node font = ChildNamed(properties, slot);
  if (!font) font = InsertChildInOrder(properties, slot, CharacterPropertyRank);
  // panose, pitchFamily and charset describe the family that was there.
  while (font.first_attribute()) font.remove_attribute(font.first_attribute());
  font.append_attribute("typeface").set_value(std::string(typeface).c_str());
}

void GivePropertiesFont(pugi::xml_node properties, const ConvertSettings& settings) {
  if (pugi::xml_node sym = ChildNamed(properties, "sym");
      sym && LegacyFamilyOf(sym.attribute("typeface").value()))
    properties.remove_child(sym);
  if (settings.direction == convert::Direction::kToUnicode) {
    // Every slot: punctuation left in the Latin slot would still draw in
    // the legacy family through the styles above, and PowerPoint draws
    // Devanagari through the complex-script slot.
    for (std::string_view slot : {"latin", "ea", "cs"}) SetTypeface(properties, slot, settings.unicodeFont);
    pugi::xml_attribute lang = properties.attribute("lang");
    if (!lang) lang = properties.append_attribute("lang");
    lang.set_value("ne-NP");
  } else {
    SetTypeface(properties, "latin", convert::LegacyFontName(settings.options.font));
  }
}

void GiveFont(pugi::xml_node run, const ConvertSettings& settings) { GivePropertiesFont(PropertiesOf(run), settings); }

}  // namespace

void GiveCharacterPropertiesNewFont(pugi::xml_node properties, const ConvertSettings& settings) {
  GivePropertiesFont(properties, settings);
}

std::string ThemeFonts::Resolve(std::string_view typeface) const {
  if (typeface == "+mn-lt") return minorLatin;
  if (typeface == "+mj-lt") return majorLatin;
  return std::string(typeface);
}

ThemeFonts ReadThemeFonts(const pugi::xml_document& theme) {
  ThemeFonts fonts;
  pugi::xml_node scheme = ChildNamed(ChildNamed(theme.document_element(), "themeElements"), "fontScheme");
  fonts.minorLatin = LatinTypefaceOf(ChildNamed(scheme, "minorFont"));
  fonts.majorLatin = LatinTypefaceOf(ChildNamed(scheme, "majorFont"));
  return fonts;
}

std::string LatinTypefaceOf(pugi::xml_node characterProperties) {
  return ChildNamed(characterProperties, "latin").attribute("typeface").value();
}

int ParagraphLevel(pugi::xml_node paragraph) {
  const int level = ChildNamed(paragraph, "pPr").attribute("lvl").as_int(0);
  return level < 0 || level > 8 ? 0 : level;
}

std::string ListStyleTypeface(pugi::xml_node listStyle, int level) {
  if (!listStyle) return {};
  const std::string levelName = "lvl" + std::to_string(level + 1) + "pPr";
  std::string typeface = LatinTypefaceOf(ChildNamed(ChildNamed(listStyle, levelName), "defRPr"));
  if (typeface.empty()) typeface = LatinTypefaceOf(ChildNamed(ChildNamed(listStyle, "defPPr"), "defRPr"));
  return typeface;
}

std::string InheritedTypeface(pugi::xml_node paragraph, const std::vector<pugi::xml_node>& listStyles,
                              std::string_view fallback) {
  std::string typeface = LatinTypefaceOf(ChildNamed(ChildNamed(paragraph, "pPr"), "defRPr"));
  const int level = ParagraphLevel(paragraph);
  for (std::size_t i = 0; typeface.empty() && i < listStyles.size(); ++i)
    typeface = ListStyleTypeface(listStyles[i], level);
  return typeface.empty() ? std::string(fallback) : typeface;
}

bool ConvertDrawingParagraphsBelow(pugi::xml_node root, const std::vector<pugi::xml_node>& listStyles,
                                   std::string_view fallback, const ThemeFonts& theme,
                                   const ConvertSettings& settings, Tally& tally) {
  // Collected first: converting a paragraph adds runs beside its own.
  std::vector<pugi::xml_node> paragraphs;
  for (pugi::xml_node node = root.first_child(); node;) {
    if (node.type() == pugi::node_element && IsTextParagraph(node)) {
      paragraphs.push_back(node);
    } else if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node && node != root && !node.next_sibling()) node = node.parent();
    if (!node || node == root) break;
    node = node.next_sibling();
  }
  bool changed = false;
  std::vector<pugi::xml_node> chain;
  for (pugi::xml_node paragraph : paragraphs) {
    chain.assign(1, ChildNamed(paragraph.parent(), "lstStyle"));
    chain.insert(chain.end(), listStyles.begin(), listStyles.end());
    const std::string inherited = InheritedTypeface(paragraph, chain, fallback);
    changed |= ConvertDrawingParagraph(paragraph, inherited, theme, settings, tally);
  }
  return changed;
}

bool ConvertStandaloneDrawing(pugi::xml_document& part, const ThemeFonts& theme, const ConvertSettings& settings,
                              Tally& tally) {
  const pugi::xml_node root = part.document_element();
  std::vector<pugi::xml_node> defaults;
  std::string fallback = "+mn-lt";
  if (pugi::xml_node properties = ChildNamed(root, "txPr")) {
    defaults.push_back(ChildNamed(properties, "lstStyle"));
    if (pugi::xml_node p = ChildNamed(properties, "p"))
      if (std::string typeface = InheritedTypeface(p, {}, ""); !typeface.empty()) fallback = typeface;
  }
  return ConvertDrawingParagraphsBelow(root, defaults, fallback, theme, settings, tally);
}

int CharacterPropertyRank(std::string_view name) {
  static constexpr std::string_view kOrder[][6] = {
      {"ln"},
      {"noFill", "solidFill", "gradFill", "blipFill", "pattFill", "grpFill"},
      {"effectLst", "effectDag"},
      {"highlight"},
      {"uLnTx", "uLn"},
      {"uFillTx", "uFill"},
      {"latin"},
      {"ea"},
      {"cs"},
      {"sym"},
      {"hlinkClick"},
      {"hlinkMouseOver"},
      {"rtl"},
      {"extLst"},
  };
  int rank = 0;
  for (const auto& group : kOrder) {
    for (std::string_view member : group)
      if (!member.empty() && member == name) return rank;
    ++rank;
  }
  return rank;
}

bool ConvertDrawingParagraph(pugi::xml_node paragraph, std::string_view inheritedTypeface, const ThemeFonts& theme,
                             const ConvertSettings& settings, Tally& tally) {
  std::vector<Piece> pieces;
  std::vector<pugi::xml_node> runs;
  bool joins = true;
  for (pugi::xml_node child = paragraph.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    const std::string_view name = LocalName(child);
    if (name == "pPr" || name == "endParaRPr") continue;
    if (name != "r") {
      // A line break, a field (slide number, date) or anything else a
      // reader sees: no syllable runs across it.
      joins = false;
      continue;
    }
    Piece piece;
    piece.joinsPrevious = joins;
    joins = true;
    piece.text = ChildNamed(child, "t").text().get();
    const pugi::xml_node properties = ChildNamed(child, "rPr");
    std::string typeface = LatinTypefaceOf(properties);
    if (typeface.empty()) typeface = inheritedTypeface;
    piece.family = LegacyFamilyOf(theme.Resolve(typeface));
    // Symbol characters (U+F0xx) draw in the a:sym family.
    if (!piece.family && HoldsSymbolCodes(piece.text))
      piece.family = LegacyFamilyOf(ChildNamed(properties, "sym").attribute("typeface").value());
    pieces.push_back(std::move(piece));
    runs.push_back(child);
  }
  if (pieces.empty()) return false;

  const std::vector<PieceResult> results = ConvertPieces(pieces, settings, tally);
  bool changed = false;
  for (std::size_t i = 0; i < results.size(); ++i) {
    const PieceResult& result = results[i];
    if (!result.changed()) continue;
    changed = true;
    // Clones first, from the run as it was, so that a segment left alone
    // keeps the run's own properties.
    std::vector<pugi::xml_node> copies{runs[i]};
    for (std::size_t s = 1; s < result.segments.size(); ++s)
      copies.push_back(paragraph.insert_copy_after(runs[i], copies.back()));
    for (std::size_t s = 0; s < result.segments.size(); ++s) {
      SetText(TextOf(copies[s]), result.segments[s].text);
      if (result.segments[s].converted) GiveFont(copies[s], settings);
    }
  }
  // What is typed at the end of a converted paragraph takes the end mark's
  // font: a legacy family named there goes too.
  if (changed && settings.direction == convert::Direction::kToUnicode)
    if (pugi::xml_node end = ChildNamed(paragraph, "endParaRPr");
        end && LegacyFamilyOf(theme.Resolve(LatinTypefaceOf(end))))
      GivePropertiesFont(end, settings);
  return changed;
}

}  // namespace lk::documents
