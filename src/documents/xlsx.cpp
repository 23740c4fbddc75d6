#include "documents/sheets_and_slides.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "documents/chart_caches.h"
#include "documents/document_file.h"
#include "documents/office_parts.h"
#include "documents/drawing_text.h"
#include "documents/sheet_header_footer.h"
#include "documents/sheet_references.h"
#include "documents/sheet_tables.h"
#include "documents/sheet_text.h"
#include "documents/xlsx_styles.h"
#include "documents/xml_part.h"
#include "text/trim.h"

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

// Each cell with its address, which is worked out only when track is
// set: rows and cells may leave out their r and follow the one before.
template <typename Visit>
void ForEachCell(pugi::xml_node worksheet, bool track, Visit visit) {
  CellAddress at;
  for (pugi::xml_node row : ChildNamed(worksheet, "sheetData").children()) {
    if (row.type() != pugi::node_element || LocalName(row) != "row") continue;
    if (track) {
      at.row = ParseIndex(row.attribute("r").value()).value_or(at.row + 1);
      at.column = 0;
    }
    for (pugi::xml_node cell : row.children()) {
      if (cell.type() != pugi::node_element || LocalName(cell) != "c") continue;
      if (track) {
        const std::optional<CellAddress> written = ParseCellAddress(cell.attribute("r").value());
        at.column = written ? written->column : at.column + 1;
      }
      visit(cell, at);
    }
  }
}

// What a string item shows, runs joined; phonetic guides left out.
std::string PlainText(pugi::xml_node item) {
  if (pugi::xml_node t = ChildNamed(item, "t")) return DecodeEscapes(t.text().get());
  std::string text;
  for (pugi::xml_node run : item.children())
    if (run.type() == pugi::node_element && LocalName(run) == "r") text += DecodeEscapes(ChildNamed(run, "t").text().get());
  return text;
}

// A chart naming a whole column would otherwise have a million cells
// remembered for it.
constexpr std::size_t kMaxFollowedCells = 1u << 20;

constexpr std::string_view kHeaderFooterParts[] = {"oddHeader",  "oddFooter",   "evenHeader",
                                                   "evenFooter", "firstHeader", "firstFooter"};

std::uint32_t FormatOf(pugi::xml_node cell) { return ParseIndex(cell.attribute("s").value()).value_or(0); }

bool HasFormula(pugi::xml_node cell) { return static_cast<bool>(ChildNamed(cell, "f")); }

class Workbook : PackageJob {
 public:
  using PackageJob::PackageJob;

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
    FindFollowers(relationships);
  }

  // Tables and charts repeat the text of cells: which cells, so that their
  // converted text is kept as the sheets are converted.
  void FindFollowers(const std::vector<Relationship>& workbookRelationships) {
    pugi::xml_document workbook;
    ParsePart(workbook, source_.Read(workbookName_), workbookName_);
    for (pugi::xml_node sheet : ChildNamed(workbook.document_element(), "sheets").children()) {
      if (sheet.type() != pugi::node_element || LocalName(sheet) != "sheet") continue;
      const std::string_view id = AttributeNamed(sheet, "id").value();
      for (const Relationship& r : workbookRelationships)
        if (r.id == id) sheetNames_.emplace_back(sheet.attribute("name").value(), r.target);
    }
    for (const std::string& sheet : sheets_) {
      for (const Relationship& r : RelationshipsOf(source_, sheet)) {
        if (!types_.Is(r.target, "spreadsheetml.table+xml") || !source_.Has(r.target)) continue;
        pugi::xml_document table;
        ParsePart(table, source_.Read(r.target), r.target);
        for (const CellAddress& cell : CellsTableRepeats(table)) Follow(sheet, cell);
        tableSheets_[r.target] = sheet;
      }
    }
    for (const std::string& name : source_.Names()) {
      if (!types_.Is(name, "drawingml.chart+xml")) continue;
      ThrowIfCancelled(cancel_);
      pugi::xml_document chart;
      ParsePart(chart, source_.Read(name), name);
      bool follows = false;
      for (const SheetRange& range : ChartStringRanges(chart)) {
        const std::string* sheet = SheetNamed(range.sheet);
        if (!sheet) continue;
        for (std::uint32_t row = range.range.first.row; row <= range.range.last.row; ++row)
          for (std::uint32_t column = range.range.first.column; column <= range.range.last.column; ++column)
            if (!Follow(*sheet, {row, column})) break;
        follows = true;
      }
      if (follows) followingCharts_.insert(name);
    }
  }

  bool Follow(const std::string& sheet, CellAddress cell) {
    if (followedCount_ >= kMaxFollowedCells) return false;
    followedCount_ += followed_[sheet].insert(cell).second ? 1 : 0;
    return true;
  }

  const std::string* SheetNamed(std::string_view name) const {
    // A formula may spell a sheet's name in other capitals; Excel reads it alike.
    for (const auto& [sheetName, part] : sheetNames_)
      if (text::EqualsIgnoreCase(sheetName, name)) return &part;
    return nullptr;
  }

  const std::set<CellAddress>* FollowedIn(const std::string& sheet) const {
    auto found = followed_.find(sheet);
    return found == followed_.end() ? nullptr : &found->second;
  }

  const std::string* ConvertedText(const std::string& sheet, const CellAddress& cell) const {
    auto found = convertedCells_.find(sheet);
    if (found == convertedCells_.end()) return nullptr;
    auto text = found->second.find(cell);
    return text == found->second.end() ? nullptr : &text->second;
  }

  void ReadStyles() {
    if (!stylesName_.empty()) ParseRead(stylesDocument_, stylesSource_, stylesName_);
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
      std::string content = source_.Read(sheet);
      pugi::xml_document document;
      ParsePartInPlace(document, content, sheet);
      const std::set<CellAddress>* followed = FollowedIn(sheet);
      ForEachCell(document.document_element(), followed != nullptr, [&](pugi::xml_node cell, const CellAddress& at) {
        if (std::string_view(cell.attribute("t").value()) != "s" || HasFormula(cell)) return;
        const std::optional<std::uint32_t> item = ParseIndex(ChildNamed(cell, "v").text().get());
        if (!item) return;
        if (!lastItem_ || *item > lastItem_->second) lastItem_.emplace(sheet, *item);
        uses_.push_back({*item, styles_->FontIndexOf(FormatOf(cell)), *item, false});
        if (followed && followed->count(at)) followedUses_.insert({uses_.back().item, uses_.back().font});
      });
      SortUses();
    }

    std::string content;
    pugi::xml_document document;
    const std::size_t size = ParseRead(document, content, sharedStringsName_);
    pugi::xml_node table = document.document_element();
    std::vector<pugi::xml_node> items;
    for (pugi::xml_node item : table.children())
      if (item.type() == pugi::node_element && LocalName(item) == "si") items.push_back(item);
    // A cell pointing past the strings would point at whatever a split
    // adds there, and show text it never had: such a workbook is damaged.
    if (lastItem_ && lastItem_->second >= items.size())
      throw DocumentError(lastItem_->first + ": a cell shows shared string " + std::to_string(lastItem_->second) +
                          ", but " + sharedStringsName_ + " holds " + std::to_string(items.size()) +
                          ": the workbook is damaged");

    // The parsed tree is never edited, since pugixml's compact nodes make
    // every edit dear: each string that changes is converted in a copy of
    // its own and printed, and the part is written around those texts.
    std::vector<std::pair<std::uint32_t, std::string>> replaced;  // by item, ascending
    std::vector<std::string> added;
    pugi::xml_document scratch;
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
      const std::uint32_t index = uses_[first].item;
      const pugi::xml_node item = items[index];
      // The other contexts convert copies of the item as it was.
      std::string primaryText, originalText;
      const auto original = [&]() -> const std::string& {
        if (originalText.empty()) originalText = Print(item);
        return originalText;
      };
      bool primaryChanged = false;
      for (std::size_t u = first; u < end; ++u) {
        SharedUse& use = uses_[u];
        std::string text;
        bool changed = false;
        if (SheetStringMayChange(item, styles_->FontAt(use.font), theme_, settings_)) {
          scratch.reset();
          const pugi::xml_node copy = scratch.append_copy(item);
          const StringOutcome outcome = ConvertIn(copy, use.font);
          use.cellTakesNewFont = outcome.cellTakesNewFont;
          if ((changed = outcome.changed)) text = Print(copy);
          if (changed && followedUses_.count({index, use.font})) followedStrings_[{index, use.font}] = PlainText(copy);
        }
        if (u == first) {
          primaryChanged = changed;
          if (end - first > 1) primaryText = changed ? text : original();
          if (changed) replaced.emplace_back(index, std::move(text));
          continue;
        }
        if ((changed ? text : original()) == primaryText) continue;
        use.newItem = static_cast<std::uint32_t>(items.size() + added.size());
        added.push_back(changed ? std::move(text) : original());
      }
      changed_.sharedStrings |= primaryChanged || !added.empty();
      first = end;
    }
    std::sort(uses_.begin(), uses_.end());  // looked up by item and font from here on
    // Held as text until its turn in the package: a tree takes several
    // times the memory.
    if (changed_.sharedStrings) sharedStringsOutput_ = WriteSharedStrings(table, items, replaced, added, size);
  }

  std::string WriteSharedStrings(pugi::xml_node table, const std::vector<pugi::xml_node>& items,
                                 const std::vector<std::pair<std::uint32_t, std::string>>& replaced,
                                 const std::vector<std::string>& added, std::size_t sizeHint) {
    struct StringWriter : pugi::xml_writer {
      std::string text;
      void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
    } out;
    // Converted text is longer than the legacy codes it replaces.
    out.text.reserve(sizeHint * 2 + 4096);
    ElementWriter writer(out);
    for (pugi::xml_node top = table.parent().first_child(); top; top = top.next_sibling()) {
      if (top != table) {
        writer.Whole(top);
        continue;
      }
      writer.Around(
          table,
          [&] {
            std::size_t next = 0, itemIndex = 0;
            for (pugi::xml_node child = table.first_child(); child; child = child.next_sibling()) {
              const bool isItem = itemIndex < items.size() && child == items[itemIndex];
              if (isItem && next < replaced.size() && replaced[next].first == itemIndex)
                writer.Raw(replaced[next++].second);
              else
                writer.Whole(child);
              if (isItem && ++itemIndex == items.size())
                for (const std::string& text : added) writer.Raw(text);  // after the last item, before any extension
            }
          },
          [&](pugi::xml_node start) {
            if (added.empty()) return;
            if (pugi::xml_attribute unique = start.attribute("uniqueCount"))
              unique.set_value(static_cast<unsigned long long>(items.size() + added.size()));
          });
    }
    return std::move(out.text);
  }

  // The part's size as read, for the writing. The document is parsed where
  // the text lies, which content keeps for as long as the document lives.
  std::size_t ParseRead(pugi::xml_document& document, std::string& content, const std::string& name) {
    content = source_.Read(name);
    const std::size_t size = content.size();
    ParsePartInPlace(document, content, name);
    return size;
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
    struct StringWriter : pugi::xml_writer {
      std::string text;
      void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
    } out;
    node.print(out, "", pugi::format_raw, pugi::encoding_utf8);
    return std::move(out.text);
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

  bool ConvertSheet(pugi::xml_document& document, const std::string& name) {
    bool changed = false;
    const std::string family = settings_.NewFamily();
    const std::set<CellAddress>* followed = FollowedIn(name);
    ForEachCell(document.document_element(), followed != nullptr, [&](pugi::xml_node cell, const CellAddress& at) {
      const bool keepText = followed && followed->count(at);
      const std::string_view type = cell.attribute("t").value();
      const std::uint32_t format = FormatOf(cell);
      const std::uint32_t font = styles_->FontIndexOf(format);
      bool takesNewFont = false;
      if (HasFormula(cell)) {
        if (type == "str") takesNewFont = ConvertFormulaResult(cell, font);
        if (takesNewFont && keepText) convertedCells_[name][at] = DecodeEscapes(ChildNamed(cell, "v").text().get());
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
        if (keepText)
          if (auto text = followedStrings_.find({*item, font}); text != followedStrings_.end())
            convertedCells_[name][at] = text->second;
      } else if (type == "inlineStr") {
        const StringOutcome outcome = ConvertIn(ChildNamed(cell, "is"), font);
        changed |= outcome.changed;
        takesNewFont = outcome.cellTakesNewFont;
        if (outcome.changed && keepText) convertedCells_[name][at] = PlainText(ChildNamed(cell, "is"));
      }
      if (takesNewFont) {
        pugi::xml_attribute s = cell.attribute("s");
        if (!s) s = cell.append_attribute("s");
        s.set_value(styles_->FormatWithFont(format, family));
        changed = true;
      }
    });
    changed |= ConvertHeadersAndFooters(document);
    return changed;
  }

  // Page headers and footers, on worksheets and chart sheets alike.
  bool ConvertHeadersAndFooters(pugi::xml_document& document) {
    pugi::xml_node headerFooter = ChildNamed(document.document_element(), "headerFooter");
    if (!headerFooter) return false;
    HeaderFooterFonts fonts{FontNameOf(styles_->FontAt(0).font, theme_), theme_.minorLatin, theme_.majorLatin};
    if (fonts.normal.empty()) fonts.normal = "Calibri";
    bool changed = false;
    for (std::string_view partName : kHeaderFooterParts) {
      pugi::xml_node codes = ChildNamed(headerFooter, partName);
      if (!codes) continue;
      const std::optional<std::string> converted =
          ConvertHeaderFooter(DecodeEscapes(codes.text().get()), fonts, settings_, tally_);
      if (!converted) continue;
      codes.text().set(EncodeEscapes(*converted).c_str());
      changed = true;
    }
    return changed;
  }

  bool ConvertTable(pugi::xml_document& document, const std::string& name) {
    auto sheet = tableSheets_.find(name);
    if (sheet == tableSheets_.end()) return false;
    return FollowConvertedCells(document, [&](const CellAddress& cell) { return ConvertedText(sheet->second, cell); });
  }

  bool ConvertChart(pugi::xml_document& document) {
    bool changed = ConvertStandaloneDrawing(document, theme_, settings_, tally_);
    changed |= FollowConvertedCells(
        document,
        [&](std::string_view sheetName, const CellAddress& cell) -> const std::string* {
          const std::string* sheet = SheetNamed(sheetName);
          return sheet ? ConvertedText(*sheet, cell) : nullptr;
        },
        theme_, settings_);
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
    std::string content;
    pugi::xml_document document;
    ParseRead(document, content, name);
    if (convert(document))
      sink_.AddSaved(name, document);
    else
      sink_.Copy(name);
  }

  // The style sheet gains the converted cells' formats while the sheets are
  // written, and tables and charts repeat their cells' converted text: they
  // are written once the last sheet is.
  bool WaitsForSheets(const std::string& name) const {
    return name == stylesName_ || tableSheets_.count(name) || followingCharts_.count(name);
  }

  void WriteAfterSheets(const std::string& name) {
    if (name == stylesName_)
      WriteStyles();
    else if (tableSheets_.count(name))
      Rewrite(name, [&](pugi::xml_document& d) { return ConvertTable(d, name); });
    else
      Rewrite(name, [&](pugi::xml_document& d) { return ConvertChart(d); });
  }

  void WriteParts() {
    std::size_t sheetsLeft = sheets_.size();
    std::vector<std::string> waiting;
    const auto writeWaiting = [&] {
      for (const std::string& name : waiting) WriteAfterSheets(name);
      waiting.clear();
    };
    for (const std::string& name : source_.Names()) {
      ThrowIfCancelled(cancel_);
      if (WaitsForSheets(name)) {
        if (sheetsLeft > 0)
          waiting.push_back(name);
        else
          WriteAfterSheets(name);
      } else if (name == sharedStringsName_) {
        if (changed_.sharedStrings)
          sink_.Add(name, sharedStringsOutput_);
        else
          sink_.Copy(name);
        sharedStringsOutput_ = std::string();
      } else if (types_.Is(name, "spreadsheetml.worksheet+xml")) {
        Rewrite(name, [&](pugi::xml_document& d) { return ConvertSheet(d, name); });
        if (--sheetsLeft == 0) writeWaiting();
      } else if (types_.Is(name, "spreadsheetml.chartsheet+xml")) {
        Rewrite(name, [&](pugi::xml_document& d) { return ConvertHeadersAndFooters(d); });
      } else if (types_.Is(name, "spreadsheetml.comments+xml")) {
        Rewrite(name, [&](pugi::xml_document& d) { return ConvertComments(d); });
      } else if (types_.Is(name, "drawingml.chart+xml")) {
        Rewrite(name, [&](pugi::xml_document& d) { return ConvertChart(d); });
      } else if (types_.Is(name, "officedocument.drawing+xml")) {
        Rewrite(name, [&](pugi::xml_document& d) { return ConvertStandaloneDrawing(d, theme_, settings_, tally_); });
      } else {
        sink_.Copy(name);
      }
    }
    writeWaiting();
  }

  std::string workbookName_, stylesName_, sharedStringsName_;
  std::vector<std::string> sheets_;
  ThemeFonts theme_{"Calibri", "Calibri Light"};
  std::string stylesSource_;  // stylesDocument_ is parsed in it
  pugi::xml_document stylesDocument_;
  std::unique_ptr<SheetStyles> styles_;
  std::string sharedStringsOutput_;
  std::vector<SharedUse> uses_;
  std::optional<std::pair<std::string, std::uint32_t>> lastItem_;  // the highest string a cell shows, and its sheet
  // The cells tables and charts repeat, by sheet part; the uses of shared
  // strings such cells show, and what those became; what each such cell
  // shows once converted.
  std::vector<std::pair<std::string, std::string>> sheetNames_;  // (name, part)
  std::map<std::string, std::string> tableSheets_;               // table part to its sheet's part
  std::set<std::string> followingCharts_;
  std::map<std::string, std::set<CellAddress>> followed_;
  std::size_t followedCount_ = 0;
  std::set<std::pair<std::uint32_t, std::uint32_t>> followedUses_;
  std::map<std::pair<std::uint32_t, std::uint32_t>, std::string> followedStrings_;
  std::map<std::string, std::map<CellAddress, std::string>> convertedCells_;
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
