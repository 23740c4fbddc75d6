#include "documents/docx_part.h"

#include <cstdlib>
#include <vector>

#include "documents/document_file.h"
#include "documents/docx_run_properties.h"
#include "documents/docx_xml.h"
#include "text/cp1252.h"
#include "text/utf8.h"

namespace lk::documents::docx {
namespace {

using convert::Direction;
using convert::LegacyFont;

bool IsAnyOf(pugi::xml_node node, std::initializer_list<std::string_view> locals, const Wml& w) {
  for (std::string_view local : locals)
    if (w.Is(node, local)) return true;
  return false;
}

// Paragraph-level elements whose runs belong to the paragraph as if they
// stood in it.
bool IsRunContainer(pugi::xml_node node, const Wml& w) {
  return IsAnyOf(node,
                 {"hyperlink", "ins", "del", "moveTo", "moveFrom", "sdt", "sdtContent", "smartTag", "customXml",
                  "dir", "bdo"},
                 w);
}

// What stands between runs for Word's own bookkeeping: a syllable runs
// across it.
bool IsUnseenBetweenRuns(pugi::xml_node node, const Wml& w) {
  return IsAnyOf(node,
                 {"pPr", "proofErr", "bookmarkStart", "bookmarkEnd", "commentRangeStart", "commentRangeEnd",
                  "permStart", "permEnd", "moveFromRangeStart", "moveFromRangeEnd", "moveToRangeStart",
                  "moveToRangeEnd", "customXmlInsRangeStart", "customXmlInsRangeEnd", "customXmlDelRangeStart",
                  "customXmlDelRangeEnd", "customXmlMoveFromRangeStart", "customXmlMoveFromRangeEnd",
                  "customXmlMoveToRangeStart", "customXmlMoveToRangeEnd", "sdtPr", "sdtEndPr", "customXmlPr",
                  "smartTagPr"},
                 w);
}

// What a run may hold beside its text that no reader sees in the line.
bool IsUnseenInRun(pugi::xml_node node, const Wml& w) {
  return IsAnyOf(node, {"rPr", "softHyphen", "lastRenderedPageBreak", "commentReference"}, w);
}

// A floating text box is not in the line either; its paragraphs are
// converted on their own.
bool HoldsTextBox(pugi::xml_node node) {
  return node.find_node([](pugi::xml_node n) { return LocalName(n.name()) == "txbxContent"; });
}

bool IsAlternative(pugi::xml_node node) {
  const std::string_view local = LocalName(node.name());
  return local == "Choice" || local == "Fallback";
}

// Every w:p of the part, text boxes' included, in document order.
std::vector<pugi::xml_node> ParagraphsOf(pugi::xml_node root, const Wml& w) {
  std::vector<pugi::xml_node> found;
  for (pugi::xml_node n = root; n;) {
    if (n.type() == pugi::node_element && w.Is(n, "p")) found.push_back(n);
    if (n.first_child()) {
      n = n.first_child();
      continue;
    }
    while (n != root && !n.next_sibling()) n = n.parent();
    if (n == root) break;
    n = n.next_sibling();
  }
  return found;
}

struct RunRef {
  pugi::xml_node node;
  bool breakBefore = false;  // something a reader sees stands before it
};

// The runs of one paragraph in reading order, through hyperlinks, tracked
// changes, content controls and fields. A field's boundaries and each copy
// of alternate content part syllables; bookmarks and spell-check marks do not.
std::vector<RunRef> RunsOf(pugi::xml_node paragraph, const Wml& w) {
  std::vector<RunRef> runs;
  bool pendingBreak = false;
  struct Level {
    pugi::xml_node next;
    bool boundary;  // leaving it parts syllables
  };
  std::vector<Level> stack{{paragraph.first_child(), false}};
  while (!stack.empty()) {
    if (!stack.back().next) {
      if (stack.back().boundary) pendingBreak = true;
      stack.pop_back();
      continue;
    }
    pugi::xml_node n = stack.back().next;
    stack.back().next = n.next_sibling();
    if (n.type() != pugi::node_element) continue;
    if (w.Is(n, "r")) {
      runs.push_back({n, pendingBreak});
      pendingBreak = false;
    } else if (IsRunContainer(n, w)) {
      stack.push_back({n.first_child(), false});
    } else if (w.Is(n, "fldSimple") || LocalName(n.name()) == "AlternateContent" || IsAlternative(n)) {
      pendingBreak = true;
      stack.push_back({n.first_child(), true});
    } else if (!IsUnseenBetweenRuns(n, w)) {
      pendingBreak = true;
    }
  }
  return runs;
}

// A w:sym's character as legacy text: a symbol font's U+F0xx code as the
// converter reads it, a code below 0x100 as its Windows-1252 reading.
std::string SymbolText(pugi::xml_node sym, const Wml& w) {
  const char32_t code = static_cast<char32_t>(std::strtoul(w.Attr(sym, "char").value(), nullptr, 16));
  std::string text;
  text::AppendUtf8(text, code < 0x100 ? static_cast<char32_t>(text::Cp1252ToUnit(static_cast<unsigned char>(code)))
                                      : code);
  return text;
}

bool NeedsPreservedBlanks(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  return !text.empty() && (blank(text.front()) || blank(text.back()));
}

bool IsEmptyText(pugi::xml_node node, const Wml& w) {
  return (w.Is(node, "t") || w.Is(node, "delText")) && !node.first_child();
}

void SetText(pugi::xml_node element, std::string_view text) {
  while (element.first_child()) element.remove_child(element.first_child());
  if (!text.empty()) element.append_child(pugi::node_pcdata).set_value(std::string(text).c_str());
  if (NeedsPreservedBlanks(text) && !element.attribute("xml:space"))
    element.append_attribute("xml:space").set_value("preserve");
}

class PartConverter {
 public:
  PartConverter(const Wml& w, const WordFonts& fonts, const ConvertSettings& settings, Tally& tally)
      : w_(w), fonts_(fonts), settings_(settings), tally_(tally) {}

  void Paragraph(pugi::xml_node paragraph);
  bool changed() const { return changed_; }

 private:
  struct RunInfo {
    pugi::xml_node node;
    RunProps props;
  };
  // Where a piece came from: a w:t, w:delText or w:sym of one run.
  struct Source {
    pugi::xml_node node;
    std::size_t run;
  };
  enum Font : signed char { kNeutral = -1, kKept = 0, kConverted = 1 };

  ParagraphContext ContextOf(pugi::xml_node paragraph) const;
  bool WorthConverting() const;
  bool HoldsOnlyEmptyText(pugi::xml_node run) const;
  void Rewrite(std::size_t run, std::size_t firstSource, const std::vector<PieceResult>& results);

  const Wml& w_;
  const WordFonts& fonts_;
  const ConvertSettings& settings_;
  Tally& tally_;
  bool changed_ = false;
  // One paragraph's, reused.
  std::vector<RunInfo> runs_;
  std::vector<Piece> pieces_;
  std::vector<Source> sources_;
};

ParagraphContext PartConverter::ContextOf(pugi::xml_node paragraph) const {
  ParagraphContext where;
  where.paragraphStyle = w_.ChildVal(w_.Child(paragraph, "pPr"), "pStyle");
  for (pugi::xml_node n = paragraph.parent(); n; n = n.parent()) {
    if (w_.Is(n, "txbxContent")) break;
    if (w_.Is(n, "tbl")) {
      where.inTable = true;
      where.tableStyle = w_.ChildVal(w_.Child(n, "tblPr"), "tblStyle");
      break;
    }
  }
  return where;
}

bool PartConverter::HoldsOnlyEmptyText(pugi::xml_node run) const {
  for (pugi::xml_node c = run.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element || w_.Is(c, "rPr")) continue;
    if (!IsEmptyText(c, w_)) return false;
  }
  return true;
}

bool PartConverter::WorthConverting() const {
  for (const Piece& piece : pieces_) {
    if (settings_.direction == Direction::kToUnicode ? piece.family.has_value()
                                                     : !piece.family && HoldsDevanagari(piece.text))
      return true;
  }
  return false;
}

void PartConverter::Paragraph(pugi::xml_node paragraph) {
  runs_.clear();
  pieces_.clear();
  sources_.clear();
  const ParagraphContext where = ContextOf(paragraph);
  bool pendingBreak = false;
  for (const RunRef& ref : RunsOf(paragraph, w_)) {
    pugi::xml_node rPr = w_.Child(ref.node, "rPr");
    RunProps props = fonts_.Resolve(fonts_.Direct(rPr, w_), w_.ChildVal(rPr, "rStyle"), where);
    const std::optional<LegacyFont> family = LegacyFamilyOf(props.ascii.value_or(std::string()));
    const std::size_t run = runs_.size();
    runs_.push_back({ref.node, std::move(props)});
    pendingBreak = pendingBreak || ref.breakBefore;
    for (pugi::xml_node c = ref.node.first_child(); c; c = c.next_sibling()) {
      if (c.type() != pugi::node_element) continue;
      // A symbol character draws in its own font, whatever the run's.
      const std::optional<LegacyFont> symbolFamily =
          w_.Is(c, "sym") ? LegacyFamilyOf(w_.Attr(c, "font").value()) : std::nullopt;
      if (w_.Is(c, "t") || w_.Is(c, "delText")) {
        pieces_.push_back({c.text().get(), family, !pendingBreak});
      } else if (symbolFamily) {
        pieces_.push_back({SymbolText(c, w_), symbolFamily, !pendingBreak});
      } else {
        if (!IsUnseenInRun(c, w_) && !HoldsTextBox(c)) pendingBreak = true;
        continue;
      }
      sources_.push_back({c, run});
      pendingBreak = false;
    }
  }
  if (!WorthConverting()) return;

  Tally paragraphTally;
  const std::vector<PieceResult> results = ConvertPieces(pieces_, settings_, paragraphTally);
  tally_.unconverted += paragraphTally.unconverted;
  for (std::size_t first = 0; first < sources_.size();) {
    std::size_t end = first;
    bool changed = false;
    while (end < sources_.size() && sources_[end].run == sources_[first].run) changed |= results[end++].changed();
    if (changed) Rewrite(sources_[first].run, first, results);
    first = end;
  }
}

// Puts the new texts into one run. Where its texts came out some converted
// and some not (to legacy, Devanagari beside English; a legacy w:sym in an
// English run), the run is split so that only the converted part takes
// the new font; each part keeps a copy of the run's properties.
void PartConverter::Rewrite(std::size_t run, std::size_t firstSource, const std::vector<PieceResult>& results) {
  changed_ = true;
  pugi::xml_node node = runs_[run].node;
  std::vector<std::pair<pugi::xml_node, Font>> content;
  std::size_t source = firstSource;
  for (pugi::xml_node c = node.first_child(); c;) {
    pugi::xml_node next = c.next_sibling();
    if (source < sources_.size() && sources_[source].node == c) {
      const PieceResult& result = results[source++];
      if (!result.changed()) {
        content.emplace_back(c, kKept);
      } else {
        const bool deleted = w_.Is(c, "delText");
        pugi::xml_node at = c;
        if (w_.Is(c, "sym")) {
          at = node.insert_child_before(w_.Name("t").c_str(), c);
          node.remove_child(c);
        }
        for (std::size_t s = 0; s < result.segments.size(); ++s) {
          if (s > 0) at = node.insert_child_after(w_.Name(deleted ? "delText" : "t").c_str(), at);
          SetText(at, result.segments[s].text);
          content.emplace_back(at, result.segments[s].converted ? kConverted : kKept);
        }
      }
    } else if (!w_.Is(c, "rPr")) {
      content.emplace_back(c, kNeutral);
    }
    c = next;
  }

  // What is neither text nor converted (a tab, a field mark) stays with
  // the text before it, or the first text when it leads.
  Font current = kNeutral;
  for (const auto& [n, font] : content)
    if (font != kNeutral && current == kNeutral) current = font;
  for (auto& [n, font] : content) {
    if (font == kNeutral)
      font = current;
    else
      current = font;
  }

  // The parts are cut first and given their fonts after, so that each
  // copies the run's properties as they were.
  pugi::xml_node rPr = w_.Child(node, "rPr");
  std::vector<std::pair<pugi::xml_node, Font>> parts{{node, content.empty() ? kKept : content.front().second}};
  for (const auto& [n, font] : content) {
    if (font == parts.back().second) {
      if (parts.back().first != node) parts.back().first.append_move(n);
      continue;
    }
    pugi::xml_node split = node.parent().insert_child_after(node.name(), parts.back().first);
    for (pugi::xml_attribute a : node.attributes()) split.append_copy(a);
    if (rPr) split.append_copy(rPr);
    split.append_move(n);
    parts.emplace_back(split, font);
  }
  for (const auto& [part, font] : parts) {
    if (font != kConverted) continue;
    // A run that held nothing but text whose syllables all went to a
    // neighbour goes: an empty run would only carry its properties along.
    if (HoldsOnlyEmptyText(part)) {
      part.parent().remove_child(part);
      continue;
    }
    ++tally_.convertedRuns;
    if (settings_.direction == Direction::kToUnicode)
      GiveUnicodeFont(part, runs_[run].props, settings_.unicodeFont, w_);
    else
      GiveLegacyFont(part, convert::LegacyFontName(settings_.options.font), w_);
  }
}

}  // namespace

std::optional<std::string> ConvertWordXml(std::string xml, std::string_view partName, const WordFonts& fonts,
                                          const ConvertSettings& settings, Tally& tally,
                                          const std::atomic<bool>* cancel) {
  const std::size_t size = xml.size();
  pugi::xml_document doc;
  ParsePart(doc, xml, partName);
  const Wml w(doc.document_element());
  PartConverter converter(w, fonts, settings, tally);
  std::size_t count = 0;
  for (pugi::xml_node paragraph : ParagraphsOf(doc.document_element(), w)) {
    if (cancel && (++count & 255) == 0 && cancel->load(std::memory_order_relaxed)) throw Cancelled();
    converter.Paragraph(paragraph);
  }
  if (!converter.changed()) return std::nullopt;
  return SavePart(doc, size);
}

}  // namespace lk::documents::docx
