#pragma once
// An Excel table (xl/tables/tableN.xml) names its columns after the text of
// its header row's cells, and its totals row's labels after those cells;
// Excel calls the file corrupt when a name and its cell disagree. So when
// a sheet's header cells are converted, the names follow them.
#include <functional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "documents/sheet_references.h"

namespace lk::documents {

// The cells whose text the table repeats: each column's header cell, and
// its totals row cell where the column has a label there.
std::vector<CellAddress> CellsTableRepeats(const pugi::xml_document& table);

// The converted text of a cell, or null when the cell was not converted.
using ConvertedCellText = std::function<const std::string*(const CellAddress&)>;

// Renames the columns whose cells were converted; whether any changed.
bool FollowConvertedCells(pugi::xml_document& table, const ConvertedCellText& convertedText);

}  // namespace lk::documents
