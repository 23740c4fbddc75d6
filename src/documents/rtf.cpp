#include "documents/rtf.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstddef>
#include <string>
#include <vector>

#include "documents/document_file.h"
#include "documents/rtf_code_pages.h"
#include "documents/rtf_fonts.h"
#include "documents/rtf_text.h"
#include "documents/rtf_tokens.h"
#include "text/cp1252.h"
#include "text/utf8.h"

namespace lk::documents {
namespace {

using convert::Direction;
using rtf::FontTable;
using rtf::Token;
using rtf::TokenKind;

enum class Destination : std::uint8_t { kText, kFontTable, kSkipped };

// Character formatting and where the text goes, scoped by groups.
struct GroupState {
  std::int32_t font = -1;  // none given: the document's default font
  std::int32_t size = -1;  // half-points; none given: the style's
  std::int32_t fallback = 1;  // \ucN
  bool bold = false;
  bool italic = false;
  Destination destination = Destination::kText;
  bool ownStory = false;  // a footnote, a header: paragraphs of its own
};

// Destinations whose content is not the document's text. They come back as
// they were; {\*\...} groups are handled the same way whatever their name.
constexpr std::array<std::string_view, 27> kSkippedDestinations = {
    "colortbl", "stylesheet",    "info",       "pict",     "object",    "fldinst",   "filetbl",
    "listtable", "listoverridetable", "revtbl", "rsidtbl", "generator", "listtext",  "pntext",
    "pntxta",   "pntxtb",        "nonshppict", "shppict",  "shp",       "shpgrp",    "xe",
    "tc",       "template",      "objdata",    "themedata", "datastore", "latentstyles"};

// What a reader sees between the text around it, so that no syllable runs
// across it; a bookmark or any other marker is not one.
constexpr std::array<std::string_view, 7> kVisibleDestinations = {"pict", "shppict", "nonshppict", "object",
                                                                  "shp",  "shpgrp",  "objdata"};

// Text beside the body's: its paragraphs are not the ones around it.
constexpr std::array<std::string_view, 10> kStories = {"footnote", "annotation", "header",  "headerl", "headerr",
                                                       "headerf",  "footer",     "footerl", "footerr", "footerf"};

template <std::size_t N>
bool Holds(const std::array<std::string_view, N>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Control words that stand for one character.
struct NamedCharacter {
  std::string_view word;
  char32_t character;
};
constexpr NamedCharacter kNamedCharacters[] = {
    {"emdash", 0x2014},  {"endash", 0x2013},  {"bullet", 0x2022},    {"lquote", 0x2018},
    {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
    {"enspace", 0x2002}, {"qmspace", 0x2005}, {"zwj", 0x200D},       {"zwnj", 0x200C},
    {"ltrmark", 0x200E}, {"rtlmark", 0x200F},
};

std::optional<char32_t> NamedCharacterOf(std::string_view word) {
  for (const NamedCharacter& named : kNamedCharacters)
    if (named.word == word) return named.character;
  return std::nullopt;
}

// A run of text as the document holds it, and the formatting its converted
// text is to keep.
struct RunSpan {
  Piece piece;
  std::size_t begin = 0;  // input bytes of its text
  std::size_t end = 0;
  bool bold = false;
  bool italic = false;
  std::int32_t size = -1;
  bool symbolCodes = false;  // a symbol font that is no legacy family: codes read as U+F0xx
  // Any other font's bytes are text in the code page of its charset, or the
  // document's; a legacy family's are its glyph codes, read as Windows-1252.
  rtf::CodePage codePage;
  bool atGroupStart = false;  // the first thing in its group
  bool afterBareWord = false;  // right behind a control word without its blank
  bool afterBrokenHex = false;  // right behind a \' that had no hex digits
};

class RtfConverter {
 public:
  RtfConverter(std::string_view input, const ConvertSettings& settings, const RtfLimits& limits)
      : input_(input), settings_(settings), limits_(limits), tokens_(input) {}

  // Whatever the font table's place in the document, a run's font is known
  // when its text is read: the fonts are read first, in a pass that reads
  // nothing else.
  RtfResult Convert() {
    RtfConverter fonts(input_, settings_, limits_);
    fonts.fontsOnly_ = true;
    fonts.Run();
    fonts_ = std::move(fonts.fonts_);
    fonts_.Close();
    ReserveOutput();
    return Run();
  }

 private:
  RtfResult Run() {
    Token token;
    bool rootClosed = false;
    while (!rootClosed && !fontsRead_ && tokens_.Next(token)) {
      if (stack_.empty()) {
        // Blanks before the document; it was checked to open with {\rtf.
        if (token.kind == TokenKind::kGroupOpen) stack_.push_back(GroupState{});
        continue;
      }
      if (stack_.size() == 1 && token.kind != TokenKind::kWord && token.kind != TokenKind::kIgnored)
        NoteHeaderEnd(token.begin);
      // Line breaks between a brace and a destination's name do not part them.
      const bool atGroupStart = groupStart_;
      if (token.kind != TokenKind::kIgnored) groupStart_ = false;
      tokenAtGroupStart_ = atGroupStart;
      switch (token.kind) {
        case TokenKind::kGroupOpen: OpenGroup(); break;
        case TokenKind::kGroupClose: rootClosed = CloseGroup(token); break;
        case TokenKind::kWord: Word(token, atGroupStart); break;
        case TokenKind::kSymbol: Symbol(token, atGroupStart); break;
        case TokenKind::kHex: Text(token, std::string_view(reinterpret_cast<const char*>(&token.byte), 1)); break;
        case TokenKind::kText: Text(token, token.name); break;
        case TokenKind::kIgnored: break;
      }
      if (token.kind == TokenKind::kWord && std::isalnum(static_cast<unsigned char>(input_[token.end - 1])))
        bareWordEnd_ = token.end;
      if (token.kind == TokenKind::kSymbol && token.name == "'") brokenHexEnd_ = token.end;
    }
    if (fontsOnly_) return {};
    ClosePiece();
    FlushParagraph();
    CopyUpTo(input_.size());
    AddFonts();
    return std::move(result_);
  }

  // The output is written once, front to back: growing it by doubling would
  // copy it and touch fresh memory twice. Converted text is longer than its
  // legacy bytes (each letter a \uN escape), Devanagari made legacy shorter.
  // Pages reserved and never written cost nothing on Linux, but Windows
  // commits them, so a large file's reservation has a ceiling.
  void ReserveOutput() {
    constexpr std::uint64_t kCeiling = 256ull << 20;
    const std::uint64_t size = input_.size();
    const bool toUnicode = settings_.direction == Direction::kToUnicode;
    const auto reserve = [&](std::string& out, std::uint64_t bytes) {
      out.reserve(static_cast<std::size_t>(std::min({bytes, limits_.maxOutputSize, kCeiling})));
    };
    reserve(result_.rtf, toUnicode ? size * 5 : size + 4096);
    reserve(result_.plainText, toUnicode ? size * 2 : size);
  }

  GroupState& top() { return stack_.back(); }

  void OpenGroup() {
    ClosePiece();
    if (stack_.size() >= static_cast<std::size_t>(std::max(limits_.maxDepth, 1)))
      throw DocumentError("The RTF nests groups deeper than " + std::to_string(limits_.maxDepth) + " levels.");
    GroupState inner = top();
    inner.ownStory = false;
    stack_.push_back(inner);
    groupStart_ = true;
  }

  // True when the document's outermost group ends.
  bool CloseGroup(const Token& token) {
    ClosePiece();
    const GroupState closing = top();
    stack_.pop_back();
    const bool tableEnds =
        closing.destination == Destination::kFontTable && (stack_.empty() || top().destination != Destination::kFontTable);
    if (tableEnds) fonts_.Close();
    // The fonts pass is done once no other table follows; one that does
    // may describe text before it, as the first may.
    if (tableEnds && fontsOnly_ && input_.find("\\fonttbl", token.end) == std::string_view::npos) fontsRead_ = true;
    if (tableEnds && !fontTableEnd_ && !fontsOnly_) {
      CopyUpTo(token.begin);
      fontTableEnd_ = result_.rtf.size();
    }
    if (closing.ownStory) FlushParagraph();
    return stack_.empty();
  }

  // Where a font table goes when the document has none: after the
  // document's first control words, before its first group or text. No
  // run is rewritten before it, so the output up to there is the input.
  void NoteHeaderEnd(std::size_t position) {
    if (!headerEnd_) headerEnd_ = position;
  }

  void Word(const Token& token, bool atGroupStart) {
    GroupState& state = top();
    if (atGroupStart) StartDestination(token.name);
    if (token.name == "bin") {
      ClosePiece();
      tokens_.SkipBinary(token.hasParameter && token.parameter > 0 ? static_cast<std::uint64_t>(token.parameter) : 0);
      breakNext_ = true;
      return;
    }
    if (token.name == "ansicpg" && token.hasParameter && state.destination != Destination::kSkipped)
      codePage_ = token.parameter;
    switch (state.destination) {
      case Destination::kSkipped: return;
      case Destination::kFontTable: FontTableWord(token); return;
      case Destination::kText: TextWord(token); return;
    }
  }

  // The first control word of a group may name what the group holds.
  void StartDestination(std::string_view name) {
    GroupState& state = top();
    if (Holds(kVisibleDestinations, name)) breakNext_ = true;
    if (state.destination == Destination::kSkipped) return;
    if (name == "fonttbl") {
      FlushParagraph();
      state.destination = Destination::kFontTable;
    } else if (Holds(kSkippedDestinations, name)) {
      state.destination = Destination::kSkipped;
    } else if (Holds(kStories, name) && state.destination == Destination::kText) {
      ClosePiece();
      FlushParagraph();
      state.ownStory = true;
      breakNext_ = true;
    }
  }

  void FontTableWord(const Token& token) {
    if (token.name == "f") {
      fonts_.Begin(token.hasParameter ? token.parameter : 0);
    } else if (token.name == "fcharset") {
      fonts_.SetCharset(token.parameter);
    } else if (token.name == "u" && token.hasParameter) {
      std::string name;
      text::AppendUtf8(name, static_cast<char16_t>(token.parameter));
      tokens_.SkipFallback(top().fallback);
      fonts_.AddNameText(name);
    } else if (token.name == "uc") {
      top().fallback = std::max(token.parameter, 0);
    }
  }

  void TextWord(const Token& token) {
    if (fontsOnly_) return;
    GroupState& state = top();
    const std::string_view word = token.name;
    if (word == "u" && token.hasParameter) {
      UnicodeUnit(token);
      return;
    }
    if (const auto named = NamedCharacterOf(word)) {
      std::string utf8;
      text::AppendUtf8(utf8, *named);
      AddText(token.begin, token.end, utf8);
      return;
    }
    ClosePiece();
    const bool on = !token.hasParameter || token.parameter != 0;
    if (word == "par" || word == "sect" || word == "row" || word == "nestrow") {
      FlushParagraph();
      result_.plainText += "\r\n";
    } else if (word == "cell" || word == "nestcell") {
      FlushParagraph();
      result_.plainText += '\t';
    } else if (word == "page") {
      FlushParagraph();
    } else if (word == "tab" || word == "line") {
      AddSeparator(token, word == "tab" ? "\t" : "\r\n");
    } else if (word == "f") {
      state.font = token.hasParameter ? token.parameter : 0;
    } else if (word == "b") {
      state.bold = on;
    } else if (word == "i") {
      state.italic = on;
    } else if (word == "fs") {
      state.size = token.hasParameter && token.parameter > 0 ? token.parameter : -1;
    } else if (word == "plain") {
      state.font = -1;
      state.size = -1;
      state.bold = state.italic = false;
    } else if (word == "uc") {
      state.fallback = std::max(token.parameter, 0);
    } else if (word == "deff") {
      defaultFont_ = token.parameter;
    } else if (word == "chftn" || word == "chatn") {
      breakNext_ = true;
    }
  }

  void Symbol(const Token& token, bool atGroupStart) {
    GroupState& state = top();
    const char c = token.name.empty() ? '\0' : token.name.front();
    if (c == '*') {
      if (atGroupStart) state.destination = Destination::kSkipped;
      groupStart_ = atGroupStart;  // the destination's name follows
      return;
    }
    if (state.destination != Destination::kText) return;
    switch (c) {
      case '\\': case '{': case '}': AddText(token.begin, token.end, token.name); return;
      case '~': AddText(token.begin, token.end, "\u00A0"); return;
      case '-': AddText(token.begin, token.end, "\u00AD"); return;
      case '_': AddText(token.begin, token.end, "\u2011"); return;
      default: ClosePiece(); return;
    }
  }

  // \uN: a UTF-16 unit, then the fallback characters that readers without
  // Unicode show instead. A surrogate pair comes as two \uN.
  void UnicodeUnit(const Token& token) {
    const auto unit = static_cast<char16_t>(static_cast<std::uint16_t>(token.parameter));
    const std::size_t end = tokens_.SkipFallback(top().fallback);
    if (unit >= 0xD800 && unit < 0xDC00) {
      AddText(token.begin, end, {});
      if (highSurrogate_) text::AppendUtf8(run_->piece.text, text::kReplacement);
      highSurrogate_ = unit;
      return;
    }
    char32_t c = unit;
    if (unit >= 0xDC00 && unit < 0xE000) {
      c = highSurrogate_ ? 0x10000 + ((*highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00) : text::kReplacement;
      highSurrogate_.reset();
    }
    std::string utf8;
    text::AppendUtf8(utf8, c);
    AddText(token.begin, end, utf8);
  }

  // Text bytes (or one \'hh byte) in the code page of the run's font.
  void Text(const Token& token, std::string_view bytes) {
    const Destination destination = top().destination;
    if (destination == Destination::kSkipped) return;
    if (destination == Destination::kFontTable) {
      const rtf::CodePage names(rtf::CodePageOfCharset(fonts_.CurrentCharset()).value_or(codePage_));
      std::string utf8;
      for (const char byte : bytes) text::AppendUtf8(utf8, names.UnitOf(static_cast<unsigned char>(byte)));
      fonts_.AddNameText(utf8);
      return;
    }
    if (fontsOnly_) return;
    OpenPiece(token.begin);
    std::string& text = run_->piece.text;
    const std::size_t before = text.size();
    if (highSurrogate_) {
      text::AppendUtf8(text, text::kReplacement);
      highSurrogate_.reset();
    }
    const bool legacyCodes = run_->piece.family.has_value();
    for (const char byte : bytes) {
      const auto code = static_cast<unsigned char>(byte);
      if (leadByte_) {
        // Two bytes of one character we hold no table for: one unknown
        // character, not two wrong ones. The document keeps its bytes.
        text::AppendUtf8(text, text::kReplacement);
        leadByte_ = false;
      } else if (code < 0x80 && (!run_->symbolCodes || code <= 0x20)) {
        text += byte;
      } else if (run_->symbolCodes) {
        text::AppendUtf8(text, 0xF000 + code);
      } else if (legacyCodes) {
        text::AppendUtf8(text, text::Cp1252ToUnit(code));
      } else if (run_->codePage.IsLeadByte(code)) {
        leadByte_ = true;
      } else {
        text::AppendUtf8(text, run_->codePage.UnitOf(code));
      }
    }
    run_->end = token.end;
    paragraphBytes_ += text.size() - before;
  }

  // A tab or a line break: a piece of its own, in no legacy family, so that
  // the plain text keeps it in its place; no syllable runs across it.
  void AddSeparator(const Token& token, std::string_view text) {
    breakNext_ = true;
    OpenPiece(token.begin);
    run_->piece.family.reset();
    run_->symbolCodes = false;
    AddText(token.begin, token.end, text);
    ClosePiece();
    breakNext_ = true;
  }

  void OpenPiece(std::size_t begin) {
    if (run_) return;
    NoteHeaderEnd(begin);
    const GroupState& state = top();
    RunSpan run;
    const rtf::FontEntry* font = fonts_.Find(state.font >= 0 ? state.font : defaultFont_);
    run.piece.family = font ? font->family : std::nullopt;
    run.piece.joinsPrevious = !breakNext_;
    run.symbolCodes = font && !font->family && font->charset == rtf::kSymbolCharset;
    run.codePage = rtf::CodePage(font ? rtf::CodePageOfCharset(font->charset).value_or(codePage_) : codePage_);
    run.begin = run.end = begin;
    run.bold = state.bold;
    run.italic = state.italic;
    run.size = state.size;
    run.atGroupStart = tokenAtGroupStart_;
    run.afterBareWord = bareWordEnd_ == begin;
    run.afterBrokenHex = brokenHexEnd_ == begin;
    breakNext_ = false;
    run_ = std::move(run);
  }

  void AddText(std::size_t begin, std::size_t end, std::string_view utf8) {
    if (fontsOnly_) return;
    OpenPiece(begin);
    if (highSurrogate_ && !utf8.empty()) {
      text::AppendUtf8(run_->piece.text, text::kReplacement);
      highSurrogate_.reset();
    }
    run_->piece.text += utf8;
    run_->end = end;
    paragraphBytes_ += utf8.size();
  }

  void ClosePiece() {
    if (!run_) return;
    if (leadByte_) {
      text::AppendUtf8(run_->piece.text, text::kReplacement);
      leadByte_ = false;
    }
    if (highSurrogate_) {
      text::AppendUtf8(run_->piece.text, text::kReplacement);
      highSurrogate_.reset();
    }
    const std::string& text = run_->piece.text;
    if (run_->piece.family) {
      result_.sawLegacyRuns = result_.sawLegacyRuns || !text.empty();
    } else if (!result_.sawDevanagari) {
      result_.sawDevanagari = HoldsDevanagari(text);
    }
    const bool afterBlank = !text.empty() && (text.back() == ' ' || text.back() == '\t');
    paragraph_.push_back(std::move(*run_));
    run_.reset();
    const std::size_t part = std::max<std::size_t>(limits_.paragraphPart, 1);
    if ((paragraphBytes_ >= part && afterBlank) || paragraphBytes_ / 16 >= part)
      FlushParagraph();
  }

  void FlushParagraph() {
    if (paragraph_.empty()) return;
    std::vector<Piece> pieces;
    pieces.reserve(paragraph_.size());
    for (RunSpan& run : paragraph_) pieces.push_back(std::move(run.piece));
    const std::vector<PieceResult> results = ConvertPieces(pieces, settings_, result_.tally);
    for (std::size_t i = 0; i < results.size(); ++i) {
      for (const Segment& segment : results[i].segments) result_.plainText += segment.text;
      // A run whose Devanagari went to its neighbour keeps only its other
      // text, one unconverted segment that is not the run's whole text.
      const bool lostText = results[i].segments.size() == 1 && results[i].segments.front().text != pieces[i].text;
      if (!results[i].changed() && !lostText) continue;
      CopyUpTo(paragraph_[i].begin);
      WriteSegments(paragraph_[i], results[i]);
      copied_ = paragraph_[i].end;
    }
    paragraph_.clear();
    paragraphBytes_ = 0;
    CheckOutputSize();
  }

  // A converted run's text, in a group of its own so that the formatting
  // around it stays as it was for the text after it.
  void WriteSegments(const RunSpan& run, const PieceResult& result) {
    std::string& out = result_.rtf;
    // A run that gives all its text away leaves an empty group where it
    // opened one, so that a \* after it does not come to start the group.
    if (run.atGroupStart && std::all_of(result.segments.begin(), result.segments.end(),
                                        [](const Segment& s) { return s.text.empty(); }))
      out += "{}";
    // Text written behind a control word would lengthen its name. A font
    // table we add here goes behind that blank.
    if (run.afterBareWord) out += ' ';
    // Nor may it give a \' the digits it lacked.
    if (run.afterBrokenHex) out += "{}";
    if (run.begin == headerEnd_) headerEndInOutput_ = out.size();
    for (const Segment& segment : result.segments) {
      if (segment.text.empty()) continue;
      if (!segment.converted) {
        const bool escapes = rtf::NeedsUnicodeEscapes(segment.text, run.symbolCodes);
        if (escapes) out += "{\\uc1 ";
        rtf::AppendUnicodeText(out, segment.text, run.symbolCodes);
        if (escapes) out += '}';
      } else if (settings_.direction == Direction::kToUnicode) {
        // Word draws Devanagari in the complex-script font, at the
        // complex-script size and weight: they mirror the run's own.
        const std::string& font = NumberText(UnicodeFontNumber());
        out += "{\\rtlch\\fcs1 \\af";
        out += font;
        if (run.bold) out += "\\ab";
        if (run.italic) out += "\\ai";
        if (run.size >= 0) {
          out += "\\afs";
          AppendNumber(out, run.size);
        }
        out += ' ';
        AppendFontSwitch(out, font);
        out += "\\uc1 ";
        rtf::AppendUnicodeText(out, segment.text);
        out += '}';
      } else {
        out += '{';
        AppendFontSwitch(out, NumberText(LegacyFontNumber()));
        out += rtf::NeedsUnicodeEscapesAsLegacy(segment.text) ? "\\uc1 " : " ";
        rtf::AppendLegacyCodes(out, segment.text);
        out += '}';
      }
    }
  }

  // The highest N of any \fN in the input; bytes that only look like one
  // (inside a picture's data, say) cost a number, nothing more.
  std::int32_t HighestFontWord() const {
    std::int64_t highest = -1;
    for (std::size_t at = input_.find("\\f"); at != std::string_view::npos; at = input_.find("\\f", at + 2)) {
      std::int64_t number = 0;
      std::size_t digit = at + 2;
      for (; digit < input_.size() && input_[digit] >= '0' && input_[digit] <= '9'; ++digit)
        number = std::min<std::int64_t>(number * 10 + (input_[digit] - '0'), INT32_MAX);
      if (digit > at + 2) highest = std::max(highest, number);
    }
    return static_cast<std::int32_t>(highest);
  }

  static void AppendNumber(std::string& out, std::int32_t number) {
    char digits[16];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
  }

  // The decimal text of a font number, made once for the thousands of runs
  // that take the same font.
  const std::string& NumberText(std::int32_t number) {
    if (numberText_.first != number || numberText_.second.empty()) numberText_ = {number, std::to_string(number)};
    return numberText_.second;
  }

  // Every slot of the run in the font, so that its punctuation does not draw
  // in the font around it.
  static void AppendFontSwitch(std::string& out, std::string_view font) {
    for (const std::string_view slot : {"\\ltrch\\fcs0 \\loch\\af", "\\hich\\af", "\\dbch\\af", "\\loch\\f"}) {
      out += slot;
      out += font;
    }
  }

  std::int32_t UnicodeFontNumber() {
    if (!unicodeFont_) {
      unicodeFont_ = fonts_.NumberOfName(settings_.unicodeFont);
      if (!unicodeFont_) {
        unicodeFont_ = NewFontNumber();
        addUnicodeFont_ = true;
      }
    }
    return *unicodeFont_;
  }

  std::int32_t LegacyFontNumber() {
    if (!legacyFont_) {
      legacyFont_ = fonts_.NumberOfFamily(settings_.options.font);
      if (!legacyFont_) {
        legacyFont_ = NewFontNumber();
        addLegacyFont_ = true;
      }
    }
    return *legacyFont_;
  }

  // A font we add takes a number no \fN of the document names, in the
  // table or not: text in a font the table lacks would otherwise take ours
  // when the output is read again.
  std::int32_t NewFontNumber() {
    std::int32_t number = fonts_.FreeNumber(std::max(defaultFont_, HighestFontWord()));
    if (lastAddedFont_ && number <= *lastAddedFont_) number = *lastAddedFont_ + 1;
    lastAddedFont_ = number;
    return number;
  }

  // The fonts converted runs were given, where the document had none of
  // that name: into its font table, or a table of their own.
  void AddFonts() {
    std::string entries;
    auto entry = [&](std::int32_t number, std::string_view name, int charset) {
      std::string clean;
      for (const char c : name)
        if (c != ';' && c != '{' && c != '}' && c != '\\') clean += c;
      entries += "{\\f" + std::to_string(number) + "\\fnil\\fcharset" + std::to_string(charset) + ' ';
      rtf::AppendUnicodeText(entries, clean);
      entries += ";}";
    };
    if (addUnicodeFont_) entry(*unicodeFont_, settings_.unicodeFont, 0);
    // A family whose font has only a symbol character map is one Windows
    // draws from the codes of a symbol charset; the others map Windows-1252.
    if (addLegacyFont_)
      entry(*legacyFont_, convert::LegacyFontName(settings_.options.font),
            settings_.options.font == convert::LegacyFont::kPcsNepali ? rtf::kSymbolCharset : 0);
    if (entries.empty()) return;
    if (fontTableEnd_) {
      result_.rtf.insert(*fontTableEnd_, entries);
    } else {
      result_.rtf.insert(headerEndInOutput_.value_or(headerEnd_.value_or(result_.rtf.size())),
                         "{\\fonttbl" + entries + "}");
    }
    CheckOutputSize();
  }

  void CopyUpTo(std::size_t position) {
    if (position <= copied_) return;
    result_.rtf.append(input_.substr(copied_, position - copied_));
    copied_ = position;
    CheckOutputSize();
  }

  void CheckOutputSize() const {
    if (result_.rtf.size() > limits_.maxOutputSize || result_.plainText.size() > limits_.maxOutputSize)
      throw DocumentError("The converted RTF would be larger than " + std::to_string(limits_.maxOutputSize >> 20) +
                          " MiB.");
  }

  std::string_view input_;
  const ConvertSettings& settings_;
  const RtfLimits& limits_;
  rtf::Tokenizer tokens_;
  std::vector<GroupState> stack_;
  FontTable fonts_;
  std::int32_t defaultFont_ = 0;
  bool fontsOnly_ = false;
  std::pair<std::int32_t, std::string> numberText_;
  bool fontsRead_ = false;  // the fonts pass has seen the table
  int codePage_ = rtf::kDefaultCodePage;  // \ansicpgN
  bool leadByte_ = false;  // the first byte of a two-byte character was read
  bool groupStart_ = false;
  bool tokenAtGroupStart_ = false;
  std::optional<std::size_t> bareWordEnd_;
  std::optional<std::size_t> brokenHexEnd_;
  bool breakNext_ = false;
  std::optional<char16_t> highSurrogate_;
  std::optional<RunSpan> run_;
  std::vector<RunSpan> paragraph_;
  std::size_t paragraphBytes_ = 0;
  std::size_t copied_ = 0;  // input bytes already in the output
  std::optional<std::size_t> fontTableEnd_;  // in the output, before the table's '}'
  std::optional<std::size_t> headerEnd_;  // in the input
  std::optional<std::size_t> headerEndInOutput_;  // where a run rewritten there begins
  std::optional<std::int32_t> unicodeFont_, legacyFont_, lastAddedFont_;
  bool addUnicodeFont_ = false, addLegacyFont_ = false;
  RtfResult result_;
};

bool StartsLikeRtf(std::string_view input) {
  const std::size_t first = input.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && input.substr(first, 5) == "{\\rtf";
}

}  // namespace

RtfResult ConvertRtf(std::string_view rtf, const ConvertSettings& settings, const RtfLimits& limits) {
  if (rtf.size() > limits.maxSize)
    throw DocumentError("The RTF is larger than " + std::to_string(limits.maxSize >> 20) + " MiB.");
  if (!StartsLikeRtf(rtf)) throw DocumentError("This is not RTF: it does not begin with {\\rtf.");
  return RtfConverter(rtf, settings, limits).Convert();
}

}  // namespace lk::documents
