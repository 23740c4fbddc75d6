#include "documents/xlsx.h"

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "documents/document_file.h"
#include "documents/office_parts.h"
#include "documents/drawing_text.h"
#include "documents/sheet_text.h"
#include "documents/xlsx_styles.h"
#include "documents/xml_part.h"

namespace lk::documents {
namespace {

using convert::Direction;

constexpr std::uint32_t kNoFont = SheetStyles::kNoFont;

// How one cell shows one shared string: the string item it points at after
// conversion, and whether the cell takes the new font.
struct SharedUse {
  std::uint32_t item = 0;
  std::uint32_t font = kNoFont;  // the cell's font: the context the string converts in
  std::uint32_t newItem = 0;
  bool cellTakesNewFont = false;
  bool operator<(const SharedUse& other) const {
    return item != other.item ? item < other.item : font < other.font;
  }
};

std::string NewFamily(const ConvertSettings& settings) {
  return settings.direction == Direction::kToUnicode ? settings.unicodeFont
                                                     : std::string(convert::LegacyFontName(settings.options.font));
}

template <typename Visit>
void ForEachCell(pugi::xml_node worksheet, Visit visit) {
  for (pugi::xml_node row : ChildNamed(worksheet, "sheetData").children()) {
    if (row.type() != pugi::node_element || LocalName(row) != "row") continue;
    for (pugi::xml_node cell : row.children())
      if (cell.type() == pugi::node_element && LocalName(cell) == "c") visit(cell);
  }
}

std::uint32_t FormatOf(pugi::xml_node cell) { return ParseIndex(cell.attribute("s").value()).value_or(0); }

bool HasFormula(pugi::xml_node cell) { return static_cast<bool>(ChildNamed(cell, "f")); }

class Workbook {
 public:
  Workbook(PartSource& source, PartSink& sink, const ConvertSettings& settings, Tally& tally,
           const std::atomic<bool>* cancel)
      : source_(source), sink_(sink), settings_(settings), tally_(tally), cancel_(cancel), types_(source) {}

  void Convert() {
    FindParts();
    ReadStyles();
    if (!sharedStringsName_.empty()) ConvertSharedStrings();
    WriteParts();
  }

 private:
  void FindParts() {
    workbookName_ = TargetOf(RelationshipsOf(source_, ""), "/officeDocument");
    if (workbookName_.empty() || !source_.Has(workbookName_))
      throw DocumentError("the package holds no workbook: it is not an Excel file");
    const std::vector<Relationship> relationships = RelationshipsOf(source_, workbookName_);
    stylesName_ = TargetOf(relationships, "/styles");
    sharedStringsName_ = TargetOf(relationships, "/sharedStrings");
    const std::string themeName = TargetOf(relationships, "/theme");
    if (!stylesName_.empty() && !source_.Has(stylesName_)) stylesName_.clear();
    if (!sharedStringsName_.empty() && !source_.Has(sharedStringsName_)) sharedStringsName_.clear();
    if (!themeName.empty() && source_.Has(themeName)) {
      pugi::xml_document theme;
      ParsePart(theme, source_.Read(themeName), themeName);
      theme_ = ReadThemeFonts(theme);
    }
    for (const std::string& name : source_.Names())
      if (types_.Is(name, "spreadsheetml.worksheet+xml")) sheets_.push_back(name);
  }

  void ReadStyles() {
    if (!stylesName_.empty()) ParseRead(stylesDocument_, stylesName_);
    styles_ = std::make_unique<SheetStyles>(stylesDocument_, theme_);
  }

  bool CanRestyle(std::uint32_t font) const { return font != kNoFont && styles_->CanAddFormats(); }

  // Every shared string converts once for each font the cells showing it
  // are in; where two of those give different results, the string is
  // split and the cells of the second point at a new item.
  void ConvertSharedStrings() {
    // The sheets are read before the strings are parsed, so that a sheet's
    // tree and the strings' never take memory at once; each use is
    // remembered deduplicated, sheet by sheet.
    for (const std::string& sheet : sheets_) {
      ThrowIfCancelled(cancel_);
      pugi::xml_document document;
      ParsePart(document, source_.Read(sheet), sheet);
      ForEachCell(document.document_element(), [&](pugi::xml_node cell) {
        if (std::string_view(cell.attribute("t").value()) != "s" || HasFormula(cell)) return;
        const std::optional<std::uint32_t> item = ParseIndex(ChildNamed(cell, "v").text().get());
        if (!item) return;
        uses_.push_back({*item, styles_->FontIndexOf(FormatOf(cell)), *item, false});
      });
      SortUses();
    }

    sharedStringsSize_ = ParseRead(sharedStringsDocument_, sharedStringsName_);
    pugi::xml_node table = sharedStringsDocument_.document_element();
    std::vector<pugi::xml_node> items;
    for (pugi::xml_node item : table.children())
      if (item.type() == pugi::node_element && LocalName(item) == "si") items.push_back(item);
    // A cell pointing past the strings is left as it is.
    std::erase_if(uses_, [&](const SharedUse& use) { return use.item >= items.size(); });

    pugi::xml_document scratch;
    std::uint32_t added = 0;
    for (std::size_t first = 0; first < uses_.size();) {
      ThrowIfCancelled(cancel_);
      std::size_t end = first + 1;
      while (end < uses_.size() && uses_[end].item == uses_[first].item) ++end;
      // The original item stays with a use that leaves it as it is, so
      // that whatever else reads it (a chart's cache) still finds it.
      for (std::size_t u = first; u < end; ++u)
        if (LeavesAlone(uses_[u].font)) {
          std::swap(uses_[first], uses_[u]);
          break;
        }
      pugi::xml_node item = items[uses_[first].item];
      // The other contexts convert copies of the item as it was.
      pugi::xml_node original;
      if (end - first > 1) {
        scratch.reset();
        original = scratch.append_copy(item);
      }
      const StringOutcome primary = ConvertIn(item, uses_[first].font);
      uses_[first].cellTakesNewFont = primary.cellTakesNewFont;
      changed_.sharedStrings |= primary.changed;
      std::string primaryText;
      if (end - first > 1) primaryText = Print(item);
      for (std::size_t u = first + 1; u < end; ++u) {
        pugi::xml_node copy = scratch.append_copy(original);
        const StringOutcome outcome = ConvertIn(copy, uses_[u].font);
        uses_[u].cellTakesNewFont = outcome.cellTakesNewFont;
        if (Print(copy) == primaryText) continue;
        table.append_copy(copy);
        uses_[u].newItem = static_cast<std::uint32_t>(items.size() + added++);
        changed_.sharedStrings = true;
      }
      first = end;
    }
    std::sort(uses_.begin(), uses_.end());  // looked up by item and font from here on
    if (added > 0)
      if (pugi::xml_attribute unique = table.attribute("uniqueCount"))
        unique.set_value(static_cast<unsigned long long>(items.size() + added));
    // Held as text until its turn in the package: a tree takes several
    // times the memory.
    if (changed_.sharedStrings) sharedStringsOutput_ = SavePart(sharedStringsDocument_, sharedStringsSize_);
    sharedStringsDocument_.reset();
  }

  // The part's size as read, for the writing.
  std::size_t ParseRead(pugi::xml_document& document, const std::string& name) {
    const std::string content = source_.Read(name);
    ParsePart(document, content, name);
    return content.size();
  }

  void SortUses() {
    std::sort(uses_.begin(), uses_.end());
    uses_.erase(std::unique(uses_.begin(), uses_.end(),
                            [](const SharedUse& a, const SharedUse& b) { return !(a < b) && !(b < a); }),
                uses_.end());
  }

  // Whether text in this font keeps its characters: a Unicode font to
  // Unicode, a legacy family to legacy.
  bool LeavesAlone(std::uint32_t font) const {
    return styles_->FontAt(font).family.has_value() == (settings_.direction == Direction::kToLegacy);
  }

  StringOutcome ConvertIn(pugi::xml_node item, std::uint32_t font) {
    return ConvertSheetString(item, styles_->FontAt(font), CanRestyle(font), theme_, settings_, tally_);
  }

  static std::string Print(pugi::xml_node node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
  }

  const SharedUse* UseOf(std::uint32_t item, std::uint32_t font) const {
    const SharedUse key{item, font, 0, false};
    auto found = std::lower_bound(uses_.begin(), uses_.end(), key);
    return found != uses_.end() && found->item == item && found->font == font ? &*found : nullptr;
  }

  // A formula's text result in a legacy cell is what the formula makes of
  // cells that are converted too: once recalculated it is Unicode, so the
  // cached result converts and the cell takes the new font. The formula
  // itself is left as it is.
  bool ConvertFormulaResult(pugi::xml_node cell, std::uint32_t font) {
    pugi::xml_node value = ChildNamed(cell, "v");
    if (!value || !CanRestyle(font)) return false;
    const std::vector<Piece> pieces{{DecodeEscapes(value.text().get()), styles_->FontAt(font).family, true}};
    const PieceResult result = std::move(ConvertPieces(pieces, settings_, tally_).front());
    if (!result.changed() || result.segments.size() != 1) return false;
    value.text().set(EncodeEscapes(result.segments.front().text).c_str());
    return true;
  }

  bool ConvertSheet(pugi::xml_document& document) {
    bool changed = false;
    const std::string family = NewFamily(settings_);
    ForEachCell(document.document_element(), [&](pugi::xml_node cell) {
      const std::string_view type = cell.attribute("t").value();
      const std::uint32_t format = FormatOf(cell);
      const std::uint32_t font = styles_->FontIndexOf(format);
      bool takesNewFont = false;
      if (HasFormula(cell)) {
        if (type == "str") takesNewFont = ConvertFormulaResult(cell, font);
      } else if (type == "s") {
        pugi::xml_node value = ChildNamed(cell, "v");
        const std::optional<std::uint32_t> item = ParseIndex(value.text().get());
        if (!item) return;
        const SharedUse* use = UseOf(*item, font);
        if (!use) return;
        if (use->newItem != *item) {
          value.text().set(use->newItem);
          changed = true;
        }
        takesNewFont = use->cellTakesNewFont;
      } else if (type == "inlineStr") {
        const StringOutcome outcome = ConvertIn(ChildNamed(cell, "is"), font);
        changed |= outcome.changed;
        takesNewFont = outcome.cellTakesNewFont;
      }
      if (takesNewFont) {
        pugi::xml_attribute s = cell.attribute("s");
        if (!s) s = cell.append_attribute("s");
        s.set_value(styles_->FormatWithFont(format, family));
        changed = true;
      }
    });
    return changed;
  }

  bool ConvertComments(pugi::xml_document& document) {
    bool changed = false;
    for (pugi::xml_node comment : ChildNamed(document.document_element(), "commentList").children())
      if (pugi::xml_node text = ChildNamed(comment, "text"))
        changed |= ConvertSheetString(text, CellFont{}, false, theme_, settings_, tally_).changed;
    return changed;
  }

  void WriteStyles() {
    if (styles_->changed())
      sink_.AddSaved(stylesName_, stylesDocument_);
    else
      sink_.Copy(stylesName_);
  }

  template <typename Convert>
  void Rewrite(const std::string& name, Convert convert) {
    pugi::xml_document document;
    ParseRead(document, name);
    if (convert(document))
      sink_.AddSaved(name, document);
    else
      sink_.Copy(name);
  }

  void WriteParts() {
    // The style sheet gains the converted cells' formats while the sheets
    // are written, so it waits for the last of them.
    std::size_t sheetsLeft = sheets_.size();
    bool stylesWaiting = false;
    for (const std::string& name : source_.Names()) {
      ThrowIfCancelled(cancel_);
      if (name == stylesName_) {
        if (sheetsLeft > 0)
          stylesWaiting = true;
        else
          WriteStyles();
      } else if (name == sharedStringsName_) {
        if (changed_.sharedStrings)
          sink_.Add(name, sharedStringsOutput_);
        else
          sink_.Copy(name);
        sharedStringsOutput_ = std::string();
      } else if (types_.Is(name, "spreadsheetml.worksheet+xml")) {
        Rewrite(name, [&](pugi::xml_document& d) { return ConvertSheet(d); });
        if (--sheetsLeft == 0 && stylesWaiting) {
          WriteStyles();
          stylesWaiting = false;
        }
      } else if (types_.Is(name, "spreadsheetml.comments+xml")) {
        Rewrite(name, [&](pugi::xml_document& d) { return ConvertComments(d); });
      } else if (types_.Is(name, "drawingml.chart+xml") || types_.Is(name, "officedocument.drawing+xml")) {
        Rewrite(name, [&](pugi::xml_document& d) { return ConvertStandaloneDrawing(d, theme_, settings_, tally_); });
      } else {
        sink_.Copy(name);
      }
    }
    if (stylesWaiting) WriteStyles();
  }

  PartSource& source_;
  PartSink& sink_;
  const ConvertSettings& settings_;
  Tally& tally_;
  const std::atomic<bool>* cancel_;
  ContentTypes types_;

  std::string workbookName_, stylesName_, sharedStringsName_;
  std::vector<std::string> sheets_;
  ThemeFonts theme_{"Calibri", "Calibri Light"};
  pugi::xml_document stylesDocument_;
  std::unique_ptr<SheetStyles> styles_;
  pugi::xml_document sharedStringsDocument_;
  std::size_t sharedStringsSize_ = 0;
  std::string sharedStringsOutput_;
  std::vector<SharedUse> uses_;
  struct {
    bool sharedStrings = false;
  } changed_;
};

}  // namespace

void ConvertXlsxParts(PartSource& source, PartSink& sink, const ConvertSettings& settings, Tally& tally,
                      const std::atomic<bool>* cancel) {
  Workbook(source, sink, settings, tally, cancel).Convert();
}

}  // namespace lk::documents
