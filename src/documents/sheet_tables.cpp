#include "documents/sheet_tables.h"

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

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

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
    const std::string value = EncodeColumnName(*text);
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

std::string EncodeColumnName(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    // A literal "_xHHHH_" would read back as the character it spells.
    if (c == '_' && pos + 6 < text.size() && text[pos + 1] == 'x' && text[pos + 6] == '_' && IsHex(text[pos + 2]) &&
        IsHex(text[pos + 3]) && IsHex(text[pos + 4]) && IsHex(text[pos + 5])) {
      out += "_x005f";  // the underscore itself follows
    } else if (c < 0x20) {
      out += "_x00";
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
      out.push_back('_');
      continue;
    }
    out.push_back(static_cast<char>(c));
  }
  return out;
}

}  // namespace lk::documents
