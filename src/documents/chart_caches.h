#pragma once
// A chart keeps a copy of the cell text it shows (series names, category
// labels) in c:strRef/c:strCache beside the range c:f it came from; Excel
// and LibreOffice draw the copy until they recalculate. So the copy
// follows the cells that were converted.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "documents/drawing_text.h"
#include "documents/sheet_references.h"

namespace lk::documents {

// The ranges the chart's cached strings come from, as it names them.
std::vector<SheetRange> ChartStringRanges(const pugi::xml_document& chart);

// The converted text of a cell of a named sheet; null when it was not
// converted (or there is no such sheet).
using ConvertedSheetText = std::function<const std::string*(std::string_view sheet, const CellAddress&)>;

// Rewrites each cached string whose cell was converted. To Unicode, text
// properties (c:txPr) naming a legacy family then name the Unicode font,
// since the cached text they draw is Unicode now. Whether anything changed.
bool FollowConvertedCells(pugi::xml_document& chart, const ConvertedSheetText& convertedText,
                          const ThemeFonts& theme, const ConvertSettings& settings);

}  // namespace lk::documents
