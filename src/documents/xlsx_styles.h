#pragma once
// A workbook's style sheet as the converter needs it: the font each cell
// format (cellXfs) shows in, and new cell formats for converted cells,
// cloned from the ones they had so that cells still using those keep them.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "documents/drawing_text.h"
#include "documents/sheet_text.h"

namespace lk::documents {

class SheetStyles {
 public:
  // styles may be empty (a workbook without a style sheet): every cell is
  // then in no legacy family and none can be given a new format.
  SheetStyles(pugi::xml_document& styles, const ThemeFonts& theme);

  bool CanAddFormats() const { return static_cast<bool>(cellXfs_) && static_cast<bool>(fonts_); }
  static constexpr std::uint32_t kNoFont = 0xFFFFFFFFu;
  // The font index of cell format xf (a cell's s attribute); kNoFont for
  // a format or font the sheet does not have.
  std::uint32_t FontIndexOf(std::uint32_t xf) const;
  CellFont FontAt(std::uint32_t font) const;
  CellFont FontOf(std::uint32_t xf) const { return FontAt(FontIndexOf(xf)); }
  // A cell format like xf whose font names family; the same one for every
  // cell that asks the same. Throws DocumentError past a bound.
  std::uint32_t FormatWithFont(std::uint32_t xf, const std::string& family);
  bool changed() const { return changed_; }

 private:
  std::uint32_t FontWithName(std::uint32_t font, const std::string& family);

  pugi::xml_node fonts_;
  pugi::xml_node cellXfs_;
  std::vector<pugi::xml_node> fontList_;
  std::vector<pugi::xml_node> xfList_;
  std::vector<std::optional<convert::LegacyFont>> fontFamily_;
  std::map<std::pair<std::uint32_t, std::string>, std::uint32_t> newFormats_;
  std::map<std::pair<std::uint32_t, std::string>, std::uint32_t> newFonts_;
  bool changed_ = false;
};

// A cell's s or a shared string's index: digits only, or none.
std::optional<std::uint32_t> ParseIndex(const char* text);

}  // namespace lk::documents
