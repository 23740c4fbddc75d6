#include "documents/odf_text.h"

#include <charconv>
#include <cstring>
#include <unordered_map>

#include "documents/document_file.h"

namespace lk::documents::odf {
namespace {

// Spans nested deeper than this are an attack, not a document: the walk
// stops descending there and leaves the rest as it is.
constexpr int kMaxSpanDepth = 64;
// A text:s asking for more blanks than this is left as it is.
constexpr unsigned kMaxSpaces = 1u << 16;
// Columns a sheet may declare before the rest go without a default style.
constexpr std::size_t kMaxColumns = 1u << 16;
// Row and column groups nested deeper than this are an attack: the cells
// inside them go without their column's default.
constexpr int kMaxGroupDepth = 16;

bool Is(pugi::xml_node node, const char* name) { return std::strcmp(node.name(), name) == 0; }
bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

// Marks no reader sees: text either side of them reads as one.
bool IsInvisibleMark(pugi::xml_node node) {
  static constexpr const char* kMarks[] = {
      "text:bookmark",          "text:bookmark-start",          "text:bookmark-end",
      "text:reference-mark",    "text:reference-mark-start",    "text:reference-mark-end",
      "text:soft-page-break",   "text:change",                  "text:change-start",
      "text:change-end",        "text:toc-mark",                "text:toc-mark-start",
      "text:toc-mark-end",      "text:alphabetical-index-mark", "text:alphabetical-index-mark-start",
      "text:alphabetical-index-mark-end", "text:user-index-mark", "text:user-index-mark-start",
      "text:user-index-mark-end", "office:annotation",          "office:annotation-end"};
  for (const char* mark : kMarks)
    if (Is(node, mark)) return true;
  return false;
}

bool IsBlank(std::string_view text) {
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return false;
  return true;
}

std::optional<unsigned> SpaceCount(pugi::xml_node spaces) {
  pugi::xml_attribute count = spaces.attribute("text:c");
  if (!count) return 1u;
  const std::string_view value = count.value();
  unsigned n = 0;
  auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
  if (error != std::errc() || end != value.data() + value.size() || n == 0 || n > kMaxSpaces) return std::nullopt;
  return n;
}

// The style names an element around a paragraph may give its text, each
// null when the element has no such attribute. They are read in one pass
// over the attributes: the document's root, which every paragraph passes
// on the way up, carries dozens of namespace declarations.
struct StyleAttributes {
  const char* cell = nullptr;          // table:style-name
  const char* chart = nullptr;         // chart:style-name
  const char* shapeText = nullptr;     // draw:text-style-name
  const char* shape = nullptr;         // draw:style-name
  const char* presentation = nullptr;  // presentation:style-name
  const char* presentationClass = nullptr;
};

StyleAttributes StyleAttributesOf(pugi::xml_node node) {
  StyleAttributes names;
  // The first of a name counts, as pugixml's own lookup by name gives it.
  const auto take = [](const char*& slot, pugi::xml_attribute a) {
    if (!slot) slot = a.value();
  };
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
    const char* name = a.name();
    switch (name[0]) {
      case 't':
        if (std::strcmp(name, "table:style-name") == 0) take(names.cell, a);
        break;
      case 'c':
        if (std::strcmp(name, "chart:style-name") == 0) take(names.chart, a);
        break;
      case 'd':
        if (std::strcmp(name, "draw:text-style-name") == 0) take(names.shapeText, a);
        else if (std::strcmp(name, "draw:style-name") == 0) take(names.shape, a);
        break;
      case 'p':
        if (std::strcmp(name, "presentation:style-name") == 0) take(names.presentation, a);
        else if (std::strcmp(name, "presentation:class") == 0) take(names.presentationClass, a);
        break;
      default:
        break;
    }
  }
  return names;
}

// Where a span's or a paragraph's text sits, and the styles it reads its
// font through.
struct Container {
  pugi::xml_node node;
  StyleLevels levels;
  pugi::xml_node ownStyle;  // a span's style, if it names one that exists
  std::optional<convert::LegacyFont> family;
  // A span holding nothing but text, blanks, tabs, breaks and invisible
  // marks: giving it a new style changes no other text's font.
  bool restylable = false;
};

struct Slot {
  pugi::xml_node node;  // a text node or a text:s
  std::size_t container;
};

class PartConverter {
 public:
  PartConverter(XmlPart& part, StyleSheet& sheet, const ConvertSettings& settings, Tally& tally)
      : part_(part), sheet_(sheet), settings_(settings), tally_(tally),
        toUnicode_(settings.direction == convert::Direction::kToUnicode),
        newFamily_(settings.NewFamily()) {
    spreadsheet_ = static_cast<bool>(part.root.child("office:body").child("office:spreadsheet"));
  }

  void Run(const std::atomic<bool>* cancel) {
    std::vector<pugi::xml_node> paragraphs;
    for (const char* region : {"office:body", "office:master-styles"})
      Collect(part_.root.child(region), paragraphs);
    std::size_t done = 0;
    for (pugi::xml_node paragraph : paragraphs) {
      if (cancel && (++done & 0xFF) == 0 && cancel->load()) throw Cancelled();
      ConvertParagraph(paragraph);
    }
  }

 private:
  // Every paragraph and heading under `top` (those inside notes, frames
  // and annotations too), and each sheet's column defaults on the way.
  void Collect(pugi::xml_node top, std::vector<pugi::xml_node>& paragraphs) {
    if (!top) return;
    pugi::xml_node node = top.first_child();
    while (node) {
      if (node.type() == pugi::node_element) {
        if (Is(node, "text:p") || Is(node, "text:h")) paragraphs.push_back(node);
        else if (Is(node, "table:table")) IndexCellDefaults(node);
      }
      if (node.first_child()) {
        node = node.first_child();
        continue;
      }
      while (node && node != top && !node.next_sibling()) node = node.parent();
      if (!node || node == top) break;
      node = node.next_sibling();
    }
  }

  // A cell that names no style takes its row's default cell style, else
  // its column's.
  void IndexCellDefaults(pugi::xml_node table) {
    std::vector<const char*> columns;
    auto addColumns = [&](auto& self, pugi::xml_node parent, int depth) -> void {
      for (pugi::xml_node child : parent.children()) {
        if (Is(child, "table:table-column")) {
          const unsigned repeated = std::max(1u, child.attribute("table:number-columns-repeated").as_uint(1));
          const char* style = child.attribute("table:default-cell-style-name").value();
          for (unsigned i = 0; i < repeated && columns.size() < kMaxColumns; ++i) columns.push_back(style);
        } else if (depth < kMaxGroupDepth && (Is(child, "table:table-columns") ||
                                              Is(child, "table:table-header-columns") ||
                                              Is(child, "table:table-column-group"))) {
          self(self, child, depth + 1);
        }
      }
    };
    addColumns(addColumns, table, 0);
    auto addRows = [&](auto& self, pugi::xml_node parent, int depth) -> void {
      for (pugi::xml_node child : parent.children()) {
        if (Is(child, "table:table-row")) {
          const char* rowDefault = child.attribute("table:default-cell-style-name").value();
          std::size_t column = 0;
          for (pugi::xml_node cell : child.children()) {
            if (!Is(cell, "table:table-cell") && !Is(cell, "table:covered-table-cell")) continue;
            if (!cell.attribute("table:style-name")) {
              const char* style = *rowDefault ? rowDefault : column < columns.size() ? columns[column] : "";
              if (*style) cellDefaults_.emplace(cell.internal_object(), style);
            }
            column += std::max(1u, cell.attribute("table:number-columns-repeated").as_uint(1));
          }
        } else if (depth < kMaxGroupDepth && (Is(child, "table:table-rows") || Is(child, "table:table-header-rows") ||
                                 Is(child, "table:table-row-group"))) {
          self(self, child, depth + 1);
        }
      }
    };
    addRows(addRows, table, 0);
  }

  void Add(StyleLevels& levels, const char* family, const char* name) {
    if (!name || !*name) return;
    if (pugi::xml_node style = sheet_.Find(part_, family, name)) levels.push_back(style);
  }

  // The styles a paragraph's own text reads its font through: its own,
  // then those of the cell, chart element or shape holding it, then the
  // default style of what holds it.
  StyleLevels ParagraphLevels(pugi::xml_node paragraph) {
    StyleLevels levels;
    Add(levels, "paragraph", paragraph.attribute("text:cond-style-name").value());
    Add(levels, "paragraph", paragraph.attribute("text:style-name").value());
    const char* defaultFamily = "paragraph";
    bool inCell = false;
    for (pugi::xml_node node = paragraph.parent(); node.type() == pugi::node_element; node = node.parent()) {
      // Paragraphs in notes and comments do not take the styles of the
      // paragraph they sit in.
      if (Is(node, "text:p") || Is(node, "text:h") || Is(node, "text:note-body")) break;
      const StyleAttributes names = StyleAttributesOf(node);
      if (Is(node, "table:table-cell") || Is(node, "table:covered-table-cell")) {
        inCell = true;
        if (names.cell)
          Add(levels, "table-cell", names.cell);
        else if (auto found = cellDefaults_.find(node.internal_object()); found != cellDefaults_.end())
          Add(levels, "table-cell", found->second);
      }
      Add(levels, "chart", names.chart);
      // LibreOffice keeps the text settings of a shape's own style in the
      // paragraph style it names for the shape's text.
      Add(levels, "paragraph", names.shapeText);
      if (names.presentation)
        Add(levels, "presentation", names.presentation);
      else if (names.presentationClass)
        AddMasterPresentationStyle(levels, node, names.presentationClass);
      Add(levels, "graphic", names.shape);
      // A shape's text reads no further than the shape; so does a comment's,
      // which a sheet draws as a shape and a text document as paragraphs.
      if (StartsWith(node.name(), "draw:") && !Is(node, "draw:text-box")) {
        defaultFamily = "graphic";
        inCell = false;
        break;
      }
      if (Is(node, "office:annotation")) {
        if (spreadsheet_) defaultFamily = "graphic";
        inCell = false;
        break;
      }
    }
    if (inCell && spreadsheet_) defaultFamily = "table-cell";
    if (pugi::xml_node fallback = sheet_.Default(defaultFamily)) levels.push_back(fallback);
    return levels;
  }

  // A placeholder that names no style of its own takes its master page's
  // style of its kind ("Default-title", "Default-outline1").
  void AddMasterPresentationStyle(StyleLevels& levels, pugi::xml_node shape, std::string_view kind) {
    const char* suffix = kind == "title"      ? "title"
                         : kind == "subtitle" ? "subtitle"
                         : kind == "outline"  ? "outline1"
                         : kind == "notes"    ? "notes"
                                              : nullptr;
    if (!suffix) return;
    for (pugi::xml_node node = shape.parent(); node.type() == pugi::node_element; node = node.parent()) {
      const char* master = Is(node, "draw:page")            ? node.attribute("draw:master-page-name").value()
                           : Is(node, "style:master-page") ? node.attribute("style:name").value()
                                                            : nullptr;
      if (master) {
        Add(levels, "presentation", (std::string(master) + "-" + suffix).c_str());
        return;
      }
    }
  }

  std::size_t AddContainer(pugi::xml_node node, StyleLevels levels, pugi::xml_node ownStyle, bool restylable) {
    Container container;
    container.node = node;
    container.levels = std::move(levels);
    container.ownStyle = ownStyle;
    container.restylable = restylable;
    // A sheet's cells and a document's paragraphs mostly share their
    // styles: each set of styles is resolved once.
    auto [cached, fresh] = familyCache_.try_emplace(LevelsKey(container.levels, {}));
    if (fresh) {
      if (auto font = sheet_.FontOf(part_, container.levels)) cached->second = LegacyFamilyOf(*font);
    }
    container.family = cached->second;
    containers_.push_back(std::move(container));
    return containers_.size() - 1;
  }

  void Walk(std::size_t index, int depth) {
    for (pugi::xml_node child : containers_[index].node.children()) {
      const pugi::xml_node_type type = child.type();
      if (type == pugi::node_pcdata || type == pugi::node_cdata) {
        AddPiece(child, index, child.value());
        continue;
      }
      if (type != pugi::node_element) continue;
      if (Is(child, "text:s")) {
        if (auto count = SpaceCount(child)) {
          AddPiece(child, index, std::string(*count, ' '));
          continue;
        }
      } else if (Is(child, "text:tab") || Is(child, "text:line-break")) {
        seen_ = true;
        continue;
      } else if ((Is(child, "text:span") || Is(child, "text:a") || Is(child, "text:meta")) &&
                 depth < kMaxSpanDepth) {
        // Whatever holds the inner text may no longer change its font: the
        // inner text would change with it.
        containers_[index].restylable = false;
        StyleLevels levels = containers_[index].levels;
        pugi::xml_node style;
        if (pugi::xml_attribute name = child.attribute("text:style-name")) {
          style = sheet_.Find(part_, "text", name.value());
          if (style) levels.insert(levels.begin(), style);
        }
        const std::size_t inner = AddContainer(child, std::move(levels), style, Is(child, "text:span"));
        Walk(inner, depth + 1);
        continue;
      } else if (IsInvisibleMark(child)) {
        continue;
      }
      // A field, a note, a frame: seen, and it takes the font of what
      // holds it.
      seen_ = true;
      containers_[index].restylable = false;
    }
  }

  void AddPiece(pugi::xml_node node, std::size_t container, std::string text) {
    pieces_.push_back({std::move(text), containers_[container].family, !seen_});
    slots_.push_back({node, container});
    seen_ = false;
  }

  // Whether a piece's outcome has to be written: blanks a legacy family
  // draws as blanks stay as they are.
  bool MustWrite(std::size_t i, const PieceResult& result) const {
    if (!result.changed()) return false;
    return !(result.segments.size() == 1 && result.segments[0].text == pieces_[i].text && IsBlank(pieces_[i].text));
  }

  // Text as nodes. Blanks in a row go back as text:s, which a reader does
  // not collapse into one: conversion may move a blank from a text:s into
  // the text beside it. Blanks that came from a text:s stay text:s.
  static void Emit(pugi::xml_node parent, pugi::xml_node before, std::string_view text, bool fromSpaces) {
    auto insert = [&](pugi::xml_node_type type) {
      return before ? parent.insert_child_before(type, before) : parent.append_child(type);
    };
    auto insertElement = [&](const char* name) {
      return before ? parent.insert_child_before(name, before) : parent.append_child(name);
    };
    std::string plain;
    auto flush = [&] {
      if (!plain.empty()) insert(pugi::node_pcdata).set_value(plain.c_str());
      plain.clear();
    };
    while (!text.empty()) {
      if (text.front() != ' ') {
        const std::size_t cut = std::min(text.find(' '), text.size());
        plain.append(text.substr(0, cut));
        text.remove_prefix(cut);
        continue;
      }
      const std::size_t run = std::min(text.find_first_not_of(' '), text.size());
      std::size_t kept = fromSpaces ? 0 : 1;  // one blank stays text
      plain.append(kept, ' ');
      if (run > kept) {
        flush();
        pugi::xml_node spaces = insertElement("text:s");
        if (run - kept > 1) spaces.append_attribute("text:c").set_value(static_cast<unsigned>(run - kept));
      }
      text.remove_prefix(run);
    }
    flush();
  }

  std::string ConvertedStyle(const Container& container, pugi::xml_node original) {
    auto [cached, fresh] = styleCache_.try_emplace(LevelsKey(container.levels, original));
    if (fresh) cached->second = sheet_.ConvertedStyle(part_, original, container.levels, newFamily_, toUnicode_);
    return cached->second;
  }

  void Restyle(Container& container, const std::vector<std::size_t>& slots, const std::vector<PieceResult>& results) {
    const std::string style = ConvertedStyle(container, container.ownStyle);
    pugi::xml_attribute name = container.node.attribute("text:style-name");
    if (!name) name = container.node.append_attribute("text:style-name");
    name.set_value(style.c_str());
    for (std::size_t i : slots) {
      std::string text;
      for (const Segment& segment : results[i].segments) text += segment.text;
      if (text == pieces_[i].text) continue;
      pugi::xml_node node = slots_[i].node;
      if (node.type() == pugi::node_element || text.find("  ") != std::string::npos) {
        Emit(container.node, node, text, node.type() == pugi::node_element);
        container.node.remove_child(node);
      } else if (text.empty()) {
        container.node.remove_child(node);
      } else {
        node.set_value(text.c_str());
      }
    }
  }

  // Converted text goes into spans of its own inside what held it, so the
  // styles of the paragraph and of the spans around stay as others use them.
  void Wrap(Container& container, const std::vector<std::size_t>& slots, const std::vector<PieceResult>& results) {
    pugi::xml_node wrapper;
    for (std::size_t i : slots) {
      if (!MustWrite(i, results[i])) continue;
      pugi::xml_node node = slots_[i].node;
      const bool spaces = node.type() == pugi::node_element;
      for (const Segment& segment : results[i].segments) {
        if (!segment.converted) {
          Emit(container.node, node, segment.text, spaces);
          continue;
        }
        if (segment.text.empty()) continue;
        if (!wrapper || node.previous_sibling() != wrapper) {
          wrapper = container.node.insert_child_before("text:span", node);
          wrapper.append_attribute("text:style-name").set_value(ConvertedStyle(container, {}).c_str());
        }
        Emit(wrapper, {}, segment.text, spaces);
      }
      container.node.remove_child(node);
    }
  }

  void ConvertParagraph(pugi::xml_node paragraph) {
    containers_.clear();
    pieces_.clear();
    slots_.clear();
    seen_ = false;
    Walk(AddContainer(paragraph, ParagraphLevels(paragraph), {}, false), 0);
    bool any = false;
    for (const Piece& piece : pieces_) any = any || (toUnicode_ ? piece.family.has_value() : !piece.family);
    if (!any) return;

    const std::vector<PieceResult> results = ConvertPieces(pieces_, settings_, tally_);
    std::vector<std::vector<std::size_t>> byContainer(containers_.size());
    for (std::size_t i = 0; i < slots_.size(); ++i) byContainer[slots_[i].container].push_back(i);
    for (std::size_t c = 0; c < containers_.size(); ++c) {
      const std::vector<std::size_t>& slots = byContainer[c];
      bool write = false, whole = true;
      for (std::size_t i : slots) {
        write = write || MustWrite(i, results[i]);
        for (const Segment& segment : results[i].segments)
          whole = whole && (segment.converted || IsBlank(segment.text));
      }
      if (!write) continue;
      part_.changed = true;
      if (containers_[c].restylable && whole)
        Restyle(containers_[c], slots, results);
      else
        Wrap(containers_[c], slots, results);
    }
  }

  // The identity of a set of style elements (and a span's own style).
  static std::string LevelsKey(const StyleLevels& levels, pugi::xml_node original) {
    std::string key;
    key.reserve((levels.size() + 1) * sizeof(void*));
    auto add = [&](pugi::xml_node node) {
      const pugi::xml_node_struct* raw = node.internal_object();
      key.append(reinterpret_cast<const char*>(&raw), sizeof raw);
    };
    add(original);
    for (pugi::xml_node level : levels) add(level);
    return key;
  }

  XmlPart& part_;
  StyleSheet& sheet_;
  const ConvertSettings& settings_;
  Tally& tally_;
  const bool toUnicode_;
  const std::string newFamily_;
  bool spreadsheet_ = false;
  std::unordered_map<pugi::xml_node_struct*, const char*> cellDefaults_;
  std::unordered_map<std::string, std::optional<convert::LegacyFont>> familyCache_;
  std::unordered_map<std::string, std::string> styleCache_;
  std::vector<Container> containers_;
  // Something a reader sees (a tab, a field, a note) since the last piece,
  // in whichever span it sits.
  bool seen_ = false;
  std::vector<Piece> pieces_;
  std::vector<Slot> slots_;
};

struct StringWriter : pugi::xml_writer {
  std::string out;
  void write(const void* data, std::size_t size) override { out.append(static_cast<const char*>(data), size); }
};

}  // namespace

void ParsePart(XmlPart& part, std::string xml) {
  // Parsed where it lies: a copy would be one more part-sized buffer.
  part.source = std::move(xml);
  constexpr unsigned kOptions = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_declaration |
                                pugi::parse_doctype | pugi::parse_comments | pugi::parse_pi;
  const pugi::xml_parse_result result =
      part.doc.load_buffer_inplace(part.source.data(), part.source.size(), kOptions, pugi::encoding_utf8);
  if (!result)
    throw DocumentError(part.name + " is not well-formed XML (" + result.description() + " at byte " +
                        std::to_string(result.offset) + ")");
  part.root = part.doc.document_element();
}

std::string SerializePart(const XmlPart& part) {
  StringWriter writer;
  writer.out.reserve(part.source.size() + part.source.size() / 2);
  SavePart(part, writer);
  return std::move(writer.out);
}

void SavePart(const XmlPart& part, pugi::xml_writer& out) {
  part.doc.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
}

void ConvertPartText(XmlPart& part, StyleSheet& sheet, const ConvertSettings& settings, Tally& tally,
                     const std::atomic<bool>* cancel) {
  PartConverter(part, sheet, settings, tally).Run(cancel);
}

}  // namespace lk::documents::odf
