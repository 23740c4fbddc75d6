#include "documents/xlsx_styles.h"

#include "documents/document_file.h"
#include "documents/xml_part.h"

namespace lk::documents {
namespace {

// Excel itself refuses more than 64,000 cell formats.
constexpr std::size_t kMaxFormats = 64000;

void SetCount(pugi::xml_node list, std::size_t count) {
  pugi::xml_attribute attribute = list.attribute("count");
  if (!attribute) attribute = list.append_attribute("count");
  attribute.set_value(static_cast<unsigned long long>(count));
}

pugi::xml_attribute Ensure(pugi::xml_node node, const char* name) {
  pugi::xml_attribute attribute = node.attribute(name);
  return attribute ? attribute : node.append_attribute(name);
}

}  // namespace

std::optional<std::uint32_t> ParseIndex(const char* text) {
  if (!text || !*text) return std::nullopt;
  std::uint64_t value = 0;
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(*p - '0');
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

SheetStyles::SheetStyles(pugi::xml_document& styles, const ThemeFonts& theme) {
  pugi::xml_node root = styles.document_element();
  fonts_ = ChildNamed(root, "fonts");
  cellXfs_ = ChildNamed(root, "cellXfs");
  for (pugi::xml_node font : fonts_.children()) {
    if (font.type() != pugi::node_element || LocalName(font) != "font") continue;
    fontList_.push_back(font);
    fontFamily_.push_back(LegacyFamilyOf(FontNameOf(font, theme)));
  }
  for (pugi::xml_node xf : cellXfs_.children())
    if (xf.type() == pugi::node_element && LocalName(xf) == "xf") xfList_.push_back(xf);
}

std::uint32_t SheetStyles::FontIndexOf(std::uint32_t xf) const {
  if (xf >= xfList_.size()) return kNoFont;
  const std::uint32_t index = ParseIndex(xfList_[xf].attribute("fontId").value()).value_or(0);
  return index < fontList_.size() ? index : kNoFont;
}

CellFont SheetStyles::FontAt(std::uint32_t font) const {
  if (font >= fontList_.size()) return {};
  return {fontFamily_[font], fontList_[font]};
}

std::uint32_t SheetStyles::FontWithName(std::uint32_t font, const std::string& family) {
  const auto key = std::make_pair(font, family);
  if (auto found = newFonts_.find(key); found != newFonts_.end()) return found->second;
  pugi::xml_node copy = fonts_.append_copy(fontList_[font]);
  for (std::string_view dropped : {"scheme", "charset"})
    while (pugi::xml_node child = ChildNamed(copy, dropped)) copy.remove_child(child);
  pugi::xml_node name = ChildNamed(copy, "name");
  if (!name) name = copy.append_child(QualifiedName(copy, "name").c_str());
  Ensure(name, "val").set_value(family.c_str());
  const auto index = static_cast<std::uint32_t>(fontList_.size());
  fontList_.push_back(copy);
  fontFamily_.push_back(LegacyFamilyOf(family));
  SetCount(fonts_, fontList_.size());
  newFonts_[key] = index;
  return index;
}

std::uint32_t SheetStyles::FormatWithFont(std::uint32_t xf, const std::string& family) {
  const auto key = std::make_pair(xf, family);
  if (auto found = newFormats_.find(key); found != newFormats_.end()) return found->second;
  if (xf >= xfList_.size()) throw DocumentError("a cell names a cell format the style sheet does not have");
  if (xfList_.size() >= kMaxFormats) throw DocumentError("the workbook has too many cell formats to add one");
  std::uint32_t font = ParseIndex(xfList_[xf].attribute("fontId").value()).value_or(0);
  if (font >= fontList_.size()) {
    if (fontList_.empty()) throw DocumentError("the style sheet has no fonts to base a new one on");
    font = 0;
  }
  font = FontWithName(font, family);
  pugi::xml_node copy = cellXfs_.append_copy(xfList_[xf]);
  Ensure(copy, "fontId").set_value(font);
  Ensure(copy, "applyFont").set_value("1");
  const auto index = static_cast<std::uint32_t>(xfList_.size());
  xfList_.push_back(copy);
  SetCount(cellXfs_, xfList_.size());
  newFormats_[key] = index;
  changed_ = true;
  return index;
}

}  // namespace lk::documents
