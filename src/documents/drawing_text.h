#pragma once
// DrawingML text, the text of slides, shapes, charts and SmartArt alike:
// paragraphs a:p of runs a:r whose a:rPr names a font in a:latin (and
// a:ea, a:cs, a:sym), or inherits one from the list styles above it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "documents/run_model.h"

namespace lk::documents {

// A theme's font scheme, through which "+mn-lt" (minor, body) and "+mj-lt"
// (major, headings) name real families.
struct ThemeFonts {
  std::string minorLatin;
  std::string majorLatin;

  // A typeface as a document names it, theme references resolved.
  std::string Resolve(std::string_view typeface) const;
};

// Reads a:theme's font scheme; empty names where the theme gives none.
ThemeFonts ReadThemeFonts(const pugi::xml_document& theme);

// The a:latin typeface of a run's or list level's properties; empty when
// it names none.
std::string LatinTypefaceOf(pugi::xml_node characterProperties);

// A paragraph's outline level, 0 to 8 (a:pPr's lvl).
int ParagraphLevel(pugi::xml_node paragraph);

// The typeface a list style (a:lstStyle, p:titleStyle, defaultTextStyle)
// gives text at a level; empty when it names none.
std::string ListStyleTypeface(pugi::xml_node listStyle, int level);

// The typeface a paragraph's runs inherit: its own a:pPr/a:defRPr, then
// each list style in turn at the paragraph's level, then fallback.
std::string InheritedTypeface(pugi::xml_node paragraph, const std::vector<pugi::xml_node>& listStyles,
                              std::string_view fallback);

// Converts every paragraph below root whose runs inherit through the list
// style of their own text body, then listStyles, then fallback (a theme
// name such as "+mn-lt"). Returns whether anything changed.
bool ConvertDrawingParagraphsBelow(pugi::xml_node root, const std::vector<pugi::xml_node>& listStyles,
                                   std::string_view fallback, const ThemeFonts& theme,
                                   const ConvertSettings& settings, Tally& tally);

// Converts one paragraph's runs. inheritedTypeface is what a run whose
// a:rPr names no Latin font displays in, as the caller resolved it through
// the paragraph and the list styles above it; theme names in either are
// resolved with theme. Returns whether anything changed.
bool ConvertDrawingParagraph(pugi::xml_node paragraph, std::string_view inheritedTypeface, const ThemeFonts& theme,
                             const ConvertSettings& settings, Tally& tally);

// A chart, a sheet's drawing or a SmartArt part: a run without a font of
// its own takes its paragraph's, its text body's list style's, the
// chart's default text properties, else the theme's body font.
bool ConvertStandaloneDrawing(pugi::xml_document& part, const ThemeFonts& theme, const ConvertSettings& settings,
                              Tally& tally);

// Gives character properties (a:rPr, a:defRPr, a:endParaRPr) the font
// converted text takes: to Unicode the Unicode font in every slot.
void GiveCharacterPropertiesNewFont(pugi::xml_node properties, const ConvertSettings& settings);

// Where an a:rPr child goes in its sequence.
int CharacterPropertyRank(std::string_view localName);

}  // namespace lk::documents
