#pragma once
// Where a PowerPoint run's font comes from when it names none: its
// paragraph, its shape's list style, the matching placeholder on the
// layout and on the master, the master's text styles for titles, bodies
// and other text, the presentation's defaults, and the theme. A typist who
// set Preeti once on the master has slides full of runs naming no font.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "documents/drawing_text.h"

namespace lk::documents {

// A placeholder shape on a layout or master, by how slides find it.
struct Placeholder {
  std::string type;  // as written; empty when the shape gives none
  std::optional<std::uint32_t> index;
  pugi::xml_node listStyle;  // its text body's a:lstStyle, maybe null
};

// p:ph of a shape (p:sp), or null.
pugi::xml_node PlaceholderOf(pugi::xml_node shape);
std::vector<Placeholder> PlaceholdersIn(const pugi::xml_document& part);

// The text-style group a placeholder type draws from.
enum class TextKind { kTitle, kBody, kOther };
TextKind KindOf(std::string_view placeholderType, bool isPlaceholder);

// A master (slide, notes or handout master) as its slides inherit from it.
struct MasterFonts {
  pugi::xml_document document;
  ThemeFonts theme;
  std::vector<Placeholder> placeholders;
  pugi::xml_node titleStyle, bodyStyle, otherStyle;  // p:notesStyle serves all three on a notes master
};

// A layout, with the master it follows.
struct LayoutFonts {
  pugi::xml_document document;
  std::vector<Placeholder> placeholders;
  const MasterFonts* master = nullptr;
};

// The placeholder a slide's (or layout's) placeholder follows: the one with
// its index, else the first of its type.
const Placeholder* MatchPlaceholder(const std::vector<Placeholder>& candidates, std::string_view type,
                                    std::optional<std::uint32_t> index);

// What a part's text bodies inherit through, above their own list styles.
struct SlideContext {
  const LayoutFonts* layout = nullptr;  // a slide's layout
  const MasterFonts* master = nullptr;  // the master of the part (itself for a master)
  pugi::xml_node presentationDefaults;  // p:defaultTextStyle
  bool partIsMaster = false;
};

// Converts every text body of a slide, layout, master or notes part.
bool ConvertSlideText(pugi::xml_document& part, const SlideContext& context, const ThemeFonts& theme,
                      const ConvertSettings& settings, Tally& tally);

}  // namespace lk::documents
