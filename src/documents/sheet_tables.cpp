#include "documents/sheet_tables.h"

#include "documents/sheet_text.h"
#include "documents/xml_part.h"

namespace lk::documents {
namespace {

struct Layout {
  CellRange range;
  bool hasHeader = true;
  bool hasTotals = false;
};

std::optional<Layout> LayoutOf(pugi::xml_node table) {
  const std::optional<CellRange> range = ParseCellRange(table.attribute("ref").value());
  if (!range) return std::nullopt;
  Layout layout{*range};
  layout.hasHeader = table.attribute("headerRowCount").as_uint(1) != 0;
  layout.hasTotals = table.attribute("totalsRowCount").as_uint(0) != 0;
  return layout;
}

template <typename Visit>
void ForEachColumn(pugi::xml_node table, Visit visit) {
  std::uint32_t offset = 0;
  for (pugi::xml_node column : ChildNamed(table, "tableColumns").children()) {
    if (column.type() != pugi::node_element || LocalName(column) != "tableColumn") continue;
    visit(column, offset++);
  }
}

}  // namespace

std::vector<CellAddress> CellsTableRepeats(const pugi::xml_document& document) {
  std::vector<CellAddress> cells;
  const pugi::xml_node table = document.document_element();
  const std::optional<Layout> layout = LayoutOf(table);
  if (!layout) return cells;
  const CellRange& range = layout->range;
  ForEachColumn(table, [&](pugi::xml_node column, std::uint32_t offset) {
    const std::uint32_t at = range.first.column + offset;
    if (at > range.last.column) return;
    if (layout->hasHeader) cells.push_back({range.first.row, at});
    if (layout->hasTotals && column.attribute("totalsRowLabel")) cells.push_back({range.last.row, at});
  });
  return cells;
}

bool FollowConvertedCells(pugi::xml_document& document, const ConvertedCellText& convertedText) {
  const pugi::xml_node table = document.document_element();
  const std::optional<Layout> layout = LayoutOf(table);
  if (!layout) return false;
  const CellRange& range = layout->range;
  bool changed = false;
  auto follow = [&](pugi::xml_node column, const char* attributeName, CellAddress cell) {
    const std::string* text = convertedText(cell);
    if (!text) return;
    pugi::xml_attribute attribute = column.attribute(attributeName);
    const std::string value = EncodeEscapes(*text, EscapeStyle::kColumnName);
    if (!attribute || value == attribute.value()) return;
    attribute.set_value(value.c_str());
    changed = true;
  };
  ForEachColumn(table, [&](pugi::xml_node column, std::uint32_t offset) {
    const std::uint32_t at = range.first.column + offset;
    if (at > range.last.column) return;
    if (layout->hasHeader) follow(column, "name", {range.first.row, at});
    if (layout->hasTotals) follow(column, "totalsRowLabel", {range.last.row, at});
  });
  return changed;
}

}  // namespace lk::documents
