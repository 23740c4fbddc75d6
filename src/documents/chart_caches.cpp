#include "documents/chart_caches.h"

#include <optional>

#include "documents/xml_part.h"

namespace lk::documents {
namespace {

template <typename Visit>
void ForEachDescendant(pugi::xml_node root, std::string_view localName, Visit visit) {
  ForEachElementBelow(root, [&](pugi::xml_node node) {
    if (LocalName(node) == localName) visit(node);
  });
}

// The cell a cached point's index stands for: ranges of one row or one
// column only (a wider range caches its cells joined, which no point maps
// back to).
std::optional<CellAddress> CellOfPoint(const CellRange& range, std::uint32_t index) {
  if (range.first.column == range.last.column) {
    if (index > range.last.row - range.first.row) return std::nullopt;
    return CellAddress{range.first.row + index, range.first.column};
  }
  if (range.first.row == range.last.row) {
    if (index > range.last.column - range.first.column) return std::nullopt;
    return CellAddress{range.first.row, range.first.column + index};
  }
  return std::nullopt;
}

// The legacy family named as the default of a text properties' paragraphs
// goes, as runs' fonts do when their text converts.
bool RenameLegacyDefaults(pugi::xml_node root, const ThemeFonts& theme, const ConvertSettings& settings) {
  bool changed = false;
  ForEachDescendant(root, "txPr", [&](pugi::xml_node properties) {
    for (pugi::xml_node p : properties.children()) {
      if (p.type() != pugi::node_element || LocalName(p) != "p") continue;
      for (pugi::xml_node defaults : {ChildNamed(ChildNamed(p, "pPr"), "defRPr"), ChildNamed(p, "endParaRPr")}) {
        if (!defaults || !LegacyFamilyOf(theme.Resolve(LatinTypefaceOf(defaults)))) continue;
        GiveCharacterPropertiesNewFont(defaults, settings);
        changed = true;
      }
    }
  });
  return changed;
}

}  // namespace

std::vector<SheetRange> ChartStringRanges(const pugi::xml_document& chart) {
  std::vector<SheetRange> ranges;
  ForEachDescendant(chart.document_element(), "strRef", [&](pugi::xml_node reference) {
    if (std::optional<SheetRange> range = ParseSheetRange(ChildNamed(reference, "f").text().get()))
      ranges.push_back(std::move(*range));
  });
  return ranges;
}

bool FollowConvertedCells(pugi::xml_document& chart, const ConvertedSheetText& convertedText,
                          const ThemeFonts& theme, const ConvertSettings& settings) {
  bool changed = false;
  ForEachDescendant(chart.document_element(), "strRef", [&](pugi::xml_node reference) {
    const std::optional<SheetRange> range = ParseSheetRange(ChildNamed(reference, "f").text().get());
    if (!range) return;
    for (pugi::xml_node point : ChildNamed(reference, "strCache").children()) {
      if (point.type() != pugi::node_element || LocalName(point) != "pt") continue;
      const pugi::xml_attribute index = point.attribute("idx");
      if (!index) continue;
      const std::optional<CellAddress> cell = CellOfPoint(range->range, index.as_uint());
      if (!cell) continue;
      const std::string* text = convertedText(range->sheet, *cell);
      pugi::xml_node value = ChildNamed(point, "v");
      if (!text || !value || *text == value.text().get()) continue;
      value.text().set(text->c_str());
      changed = true;
    }
  });
  if (changed && settings.direction == convert::Direction::kToUnicode)
    RenameLegacyDefaults(chart.document_element(), theme, settings);
  return changed;
}

}  // namespace lk::documents
