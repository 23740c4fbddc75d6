#pragma once
// Cell addresses as sheets, tables and charts write them: "B3", "$A$1",
// "A1:C4", "'Sales 2080'!$A$2:$A$5".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lk::documents {

struct CellAddress {
  std::uint32_t row = 0;     // from 1
  std::uint32_t column = 0;  // from 1 (A)
  auto operator<=>(const CellAddress&) const = default;
};

struct CellRange {
  CellAddress first, last;  // first is above and left of last
};

// "B3" or "$B$3"; none past Excel's last row or column.
std::optional<CellAddress> ParseCellAddress(std::string_view text);
// "A1:C4" or one cell.
std::optional<CellRange> ParseCellRange(std::string_view text);

struct SheetRange {
  std::string sheet;  // unquoted
  CellRange range;
};

// A range on a named sheet, as a chart's c:f gives it; none for anything
// else (a defined name, another workbook, a union of ranges).
std::optional<SheetRange> ParseSheetRange(std::string_view text);

}  // namespace lk::documents
