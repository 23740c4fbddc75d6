#include "documents/docx_part.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "documents/document_file.h"
#include "documents/docx_run_properties.h"
#include "documents/docx_xml.h"
#include "documents/xml_part.h"
#include "text/cp1252.h"
#include "text/utf8.h"

namespace lk::documents::docx {
namespace {

using convert::Direction;
using convert::LegacyFont;

bool IsAnyOf(pugi::xml_node node, std::initializer_list<std::string_view> locals, const Wml& w) {
  const std::optional<std::string_view> name = w.Local(node.name());
  if (!name) return false;
  for (std::string_view local : locals)
    if (*name == local) return true;
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

ParagraphContext ContextOf(pugi::xml_node paragraph, const Wml& w) {
  ParagraphContext where;
  where.paragraphStyle = w.ChildVal(w.Child(paragraph, "pPr"), "pStyle");
  for (pugi::xml_node n = paragraph.parent(); n; n = n.parent()) {
    if (w.Is(n, "txbxContent")) break;
    if (w.Is(n, "tbl")) {
      where.inTable = true;
      where.tableStyle = w.ChildVal(w.Child(n, "tblPr"), "tblStyle");
      break;
    }
  }
  return where;
}

class PartConverter {
 public:
  PartConverter(const Wml& w, const WordFonts& fonts, const ConvertSettings& settings, Tally& tally)
      : w_(w), fonts_(fonts), settings_(settings), tally_(tally) {}

  // Reads the paragraph's runs into pieces; true when converting would
  // change any of them.
  bool Collect(pugi::xml_node paragraph, const ParagraphContext& where);
  // Converts the paragraph read last by Collect; its runs that change are
  // rewritten by Rewrite, in order.
  void Convert();
  // The runs Convert left to rewrite, in document order.
  std::size_t pendingRuns() const { return pending_.size(); }
  pugi::xml_node PendingRun(std::size_t i) const { return runs_[pending_[i].run].node; }
  // Rewrites pending run i in a copy of it (a copy of that run alone, or
  // of the whole paragraph it is in): the run may be split into several
  // or go, beside the copy, in the copy's parent.
  void Rewrite(std::size_t i, pugi::xml_node original, pugi::xml_node copy);

 private:
  struct RunInfo {
    pugi::xml_node node;
    std::uint32_t props;  // in props_
  };
  // Where a piece came from: a w:t, w:delText or w:sym of one run.
  struct Source {
    pugi::xml_node node;
    std::size_t run;
  };
  enum Font : signed char { kNeutral = -1, kKept = 0, kConverted = 1 };

  struct Pending {
    std::size_t run;
    std::size_t firstSource;
  };

  // The family (ascii) is decided by then and left out.
  std::uint32_t Intern(const RunProps& props);
  bool WorthConverting() const;
  bool HoldsOnlyEmptyText(pugi::xml_node run) const;
  void Follow(pugi::xml_node original, pugi::xml_node copy, std::size_t firstRun, std::size_t firstSource);
  void RewriteRun(std::size_t run, std::size_t firstSource);

  const Wml& w_;
  const WordFonts& fonts_;
  const ConvertSettings& settings_;
  Tally& tally_;
  // One paragraph's, reused.
  std::vector<RunInfo> runs_;
  // What a converted run's new properties follow (bold, italic, sizes),
  // once for each distinct set: a paragraph of many runs mostly repeats one.
  std::vector<RunProps> props_;
  std::vector<Piece> pieces_;
  std::vector<Source> sources_;
  std::vector<PieceResult> results_;
  std::vector<Pending> pending_;
};


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

std::uint32_t PartConverter::Intern(const RunProps& props) {
  const auto same = [&](const RunProps& p) {
    return p.b == props.b && p.bCs == props.bCs && p.i == props.i && p.iCs == props.iCs && p.sz == props.sz &&
           p.szCs == props.szCs;
  };
  // Neighbouring runs are the ones that share properties.
  constexpr std::size_t kLooks = 4;
  for (std::size_t k = 0; k < kLooks && k < props_.size(); ++k)
    if (same(props_[props_.size() - 1 - k])) return static_cast<std::uint32_t>(props_.size() - 1 - k);
  RunProps& kept = props_.emplace_back();
  kept.b = props.b;
  kept.bCs = props.bCs;
  kept.i = props.i;
  kept.iCs = props.iCs;
  kept.sz = props.sz;
  kept.szCs = props.szCs;
  return static_cast<std::uint32_t>(props_.size() - 1);
}

bool PartConverter::Collect(pugi::xml_node paragraph, const ParagraphContext& where) {
  runs_.clear();
  props_.clear();
  pieces_.clear();
  sources_.clear();
  bool pendingBreak = false;
  for (const RunRef& ref : RunsOf(paragraph, w_)) {
    pugi::xml_node rPr = w_.Child(ref.node, "rPr");
    RunProps props = fonts_.Resolve(fonts_.Direct(rPr, w_), w_.ChildVal(rPr, "rStyle"), where);
    const std::optional<LegacyFont> family = LegacyFamilyOf(props.ascii.value_or(std::string()));
    const std::size_t run = runs_.size();
    runs_.push_back({ref.node, Intern(props)});
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
  return WorthConverting();
}

// Walks the original and its copy in step, so that what Collect found in
// the one is found at the same place in the other.
void PartConverter::Follow(pugi::xml_node original, pugi::xml_node copy, std::size_t firstRun,
                           std::size_t firstSource) {
  std::size_t run = firstRun, source = firstSource;
  for (pugi::xml_node a = original, b = copy; a;) {
    if (run < runs_.size() && runs_[run].node == a) runs_[run++].node = b;
    if (source < sources_.size() && sources_[source].node == a) sources_[source++].node = b;
    if (a.first_child()) {
      a = a.first_child();
      b = b.first_child();
      continue;
    }
    while (a != original && !a.next_sibling()) {
      a = a.parent();
      b = b.parent();
    }
    if (a == original) break;
    a = a.next_sibling();
    b = b.next_sibling();
  }
}

void PartConverter::Convert() {
  Tally paragraphTally;
  results_ = ConvertPieces(pieces_, settings_, paragraphTally);
  tally_.unconverted += paragraphTally.unconverted;
  pending_.clear();
  for (std::size_t first = 0; first < sources_.size();) {
    std::size_t end = first;
    bool changed = false;
    while (end < sources_.size() && sources_[end].run == sources_[first].run) changed |= results_[end++].changed();
    if (changed) pending_.push_back({sources_[first].run, first});
    first = end;
  }
}

void PartConverter::Rewrite(std::size_t i, pugi::xml_node original, pugi::xml_node copy) {
  const Pending& p = pending_[i];
  Follow(original, copy, p.run, p.firstSource);
  RewriteRun(p.run, p.firstSource);
}

// Puts the new texts into one run. Where its texts came out some converted
// and some not (to legacy, Devanagari beside English; a legacy w:sym in an
// English run), the run is split so that only the converted part takes
// the new font; each part keeps a copy of the run's properties.
void PartConverter::RewriteRun(std::size_t run, std::size_t firstSource) {
  const std::vector<PieceResult>& results = results_;
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
      GiveUnicodeFont(part, props_[runs_[run].props], settings_.unicodeFont, w_);
    else
      GiveLegacyFont(part, convert::LegacyFontName(settings_.options.font), w_);
  }
}

// Every paragraph of the part, and every element holding one, so that the
// writer knows where to descend and where to print a subtree whole.
void FindParagraphs(pugi::xml_node root, const Wml& w, std::vector<pugi::xml_node>& paragraphs,
                    std::unordered_set<pugi::xml_node_struct*>& holders) {
  // The root counts too: a paragraph copied alone is searched for itself.
  const auto visit = [&](pugi::xml_node n) {
    if (!w.Is(n, "p")) return;
    paragraphs.push_back(n);
    for (pugi::xml_node up = n.parent(); up && holders.insert(up.internal_object()).second;) up = up.parent();
  };
  if (root.type() == pugi::node_element) visit(root);
  ForEachElementBelow(root, visit);
}

}  // namespace

WordPart::WordPart(std::string xml, std::string_view partName, const WordFonts& fonts, const ConvertSettings& settings)
    : xml_(std::move(xml)), fonts_(fonts), settings_(settings) {
  ParsePart(doc_, xml_, partName);
  w_ = Wml(doc_.document_element());
  FindParagraphs(doc_.document_element(), w_, paragraphs_, holders_);
}

WordPart::~WordPart() = default;

bool WordPart::Changes() const {
  Tally unused;
  PartConverter reader(w_, fonts_, settings_, unused);
  for (pugi::xml_node paragraph : paragraphs_)
    if (reader.Collect(paragraph, ContextOf(paragraph, w_))) return true;
  return false;
}

void WordPart::Write(pugi::xml_writer& out, Tally& tally, const std::atomic<bool>* cancel) const {
  PartConverter converter(w_, fonts_, settings_, tally);
  ElementWriter writer(out);
  // The parsed tree is never edited, so its nodes stay in pugixml's compact
  // form: a run that changes is rewritten in a copy of its own, written and
  // dropped at once, and no more than one run's new content is held.
  pugi::xml_document scratch;
  std::unordered_set<pugi::xml_node_struct*> runHolders;  // within the paragraph at hand
  std::size_t next = 0;                                   // the next pending run

  const auto run = [&](pugi::xml_node original) {
    scratch.reset();
    const pugi::xml_node copy = scratch.append_copy(original);
    converter.Rewrite(next++, original, copy);
    for (pugi::xml_node part = scratch.first_child(); part; part = part.next_sibling()) writer.Whole(part);
  };
  const auto inParagraph = [&](pugi::xml_node node, auto& self) -> void {
    if (next < converter.pendingRuns() && node == converter.PendingRun(next)) return run(node);
    if (!runHolders.count(node.internal_object())) return writer.Whole(node);
    writer.Around(node, [&] {
      for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) self(c, self);
    });
  };

  std::size_t count = 0;
  const auto paragraph = [&](pugi::xml_node original) {
    if (cancel && (++count & 255) == 0 && cancel->load(std::memory_order_relaxed)) throw Cancelled();
    const bool holdsParagraphs = holders_.count(original.internal_object()) != 0;
    const bool changes = converter.Collect(original, ContextOf(original, w_));
    if (!changes && !holdsParagraphs) return writer.Whole(original);
    if (holdsParagraphs) {
      // A text box's paragraphs sit inside a run of this one, whose own
      // rewriting would copy them as they were: the whole paragraph is
      // converted in one copy instead, its text boxes' paragraphs after it,
      // as they come in the part.
      scratch.reset();
      const pugi::xml_node copy = scratch.append_copy(original);
      std::vector<pugi::xml_node> inner;
      std::unordered_set<pugi::xml_node_struct*> unused;
      FindParagraphs(copy, w_, inner, unused);
      for (pugi::xml_node p : inner) {
        // The copy has no table around it: its place is the original's.
        if (!converter.Collect(p, p == copy ? ContextOf(original, w_) : ContextOf(p, w_))) continue;
        converter.Convert();
        for (std::size_t i = 0; i < converter.pendingRuns(); ++i) {
          const pugi::xml_node node = converter.PendingRun(i);
          converter.Rewrite(i, node, node);
        }
      }
      return writer.Whole(copy);
    }
    converter.Convert();
    runHolders.clear();
    for (std::size_t i = 0; i < converter.pendingRuns(); ++i)
      for (pugi::xml_node up = converter.PendingRun(i).parent(); up != original; up = up.parent())
        if (!runHolders.insert(up.internal_object()).second) break;
    next = 0;
    writer.Around(original, [&] {
      for (pugi::xml_node c = original.first_child(); c; c = c.next_sibling()) inParagraph(c, inParagraph);
    });
  };

  const auto element = [&](pugi::xml_node node, auto& self) -> void {
    if (w_.Is(node, "p")) return paragraph(node);
    if (!holders_.count(node.internal_object())) return writer.Whole(node);
    writer.Around(node, [&] {
      for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) self(c, self);
    });
  };
  for (pugi::xml_node top = doc_.first_child(); top; top = top.next_sibling()) element(top, element);
}

std::optional<std::string> ConvertWordXml(std::string xml, std::string_view partName, const WordFonts& fonts,
                                          const ConvertSettings& settings, Tally& tally,
                                          const std::atomic<bool>* cancel) {
  const WordPart part(std::move(xml), partName, fonts, settings);
  if (!part.Changes()) return std::nullopt;
  struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
  } writer;
  part.Write(writer, tally, cancel);
  return std::move(writer.text);
}

}  // namespace lk::documents::docx
