#include "documents/sheet_references.h"

#include <utility>

namespace lk::documents {
namespace {

constexpr std::uint32_t kLastRow = 1048576;
constexpr std::uint32_t kLastColumn = 16384;  // XFD

}  // namespace

std::optional<CellAddress> ParseCellAddress(std::string_view text) {
  std::size_t pos = 0;
  if (pos < text.size() && text[pos] == '$') ++pos;
  CellAddress address;
  std::size_t letters = 0;
  for (; pos < text.size(); ++pos, ++letters) {
    char c = text[pos];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z' || letters == 3) break;
    address.column = address.column * 26 + static_cast<std::uint32_t>(c - 'A' + 1);
  }
  if (letters == 0 || address.column > kLastColumn) return std::nullopt;
  if (pos < text.size() && text[pos] == '$') ++pos;
  std::size_t digits = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 8; ++pos, ++digits)
    address.row = address.row * 10 + static_cast<std::uint32_t>(text[pos] - '0');
  if (digits == 0 || pos != text.size() || address.row == 0 || address.row > kLastRow) return std::nullopt;
  return address;
}

std::optional<CellRange> ParseCellRange(std::string_view text) {
  const std::size_t colon = text.find(':');
  const std::optional<CellAddress> first = ParseCellAddress(text.substr(0, colon));
  if (!first) return std::nullopt;
  if (colon == std::string_view::npos) return CellRange{*first, *first};
  const std::optional<CellAddress> last = ParseCellAddress(text.substr(colon + 1));
  if (!last) return std::nullopt;
  CellRange range{*first, *last};
  if (range.first.row > range.last.row) std::swap(range.first.row, range.last.row);
  if (range.first.column > range.last.column) std::swap(range.first.column, range.last.column);
  return range;
}

std::optional<SheetRange> ParseSheetRange(std::string_view text) {
  SheetRange result;
  std::size_t pos = 0;
  if (!text.empty() && text.front() == '\'') {
    // A quoted name doubles the quotes it holds.
    for (pos = 1;; ++pos) {
      if (pos >= text.size()) return std::nullopt;
      if (text[pos] != '\'') {
        result.sheet.push_back(text[pos]);
      } else if (pos + 1 < text.size() && text[pos + 1] == '\'') {
        result.sheet.push_back('\'');
        ++pos;
      } else {
        ++pos;
        break;
      }
    }
  } else {
    pos = text.find('!');
    if (pos == std::string_view::npos) return std::nullopt;
    result.sheet = std::string(text.substr(0, pos));
    // Another workbook's sheet ("[1]Sheet1"), or a union "(A!..,B!..)".
    if (result.sheet.find_first_of("[](),' ") != std::string::npos) return std::nullopt;
  }
  if (result.sheet.empty() || pos >= text.size() || text[pos] != '!') return std::nullopt;
  const std::optional<CellRange> range = ParseCellRange(text.substr(pos + 1));
  if (!range) return std::nullopt;
  result.range = *range;
  return result;
}

}  // namespace lk::documents
