#include "documents/run_model.h"

#include <algorithm>
#include <cstddef>
#include <deque>

#include "convert/font_tables.h"
#include "text/utf8.h"

namespace lk::documents {
namespace {

using convert::Direction;
using convert::LegacyFont;

// A stretch of one piece's text that is converted: the whole of a legacy
// run to Unicode, each Devanagari stretch of a run to legacy.
struct Span {
  std::size_t piece = 0;
  std::size_t begin = 0;  // bytes in the piece's text
  std::size_t end = 0;
  std::string text;       // what is converted (quotes straightened)
  std::string converted;  // what it became
};

bool IsJoiner(char32_t c) { return c == convert::kZwj || c == convert::kZwnj; }

// Latin letters and digits (and any other script's) end a Devanagari
// stretch; blanks and punctuation between two Devanagari words belong to it,
// since a legacy family draws them at codes of its own.
bool EndsDevanagariStretch(char32_t c) {
  if (c < 0x80) return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (c == 0xA0 || (c >= 0x2010 && c <= 0x2027)) return false;  // no-break space, dashes, quotes
  return !convert::IsDevanagari(c) && !IsJoiner(c);
}

bool StartsSyllable(char32_t c) { return convert::IsConsonant(c) || convert::IsIndependentVowel(c); }

// Whether a legacy code draws the letter a syllable is built on.
bool IsLegacyBase(char32_t c, const convert::FontTable& table) {
  const int code = convert::LegacyCode(c);
  if (code < 0 || code > 255) return false;
  const convert::Glyph& glyph = table.glyphs[code];
  if (glyph.length == 0) return false;
  const char32_t first = glyph.text[0];
  return StartsSyllable(first) || first == convert::kEyelashMark;
}

void AppendSpansToUnicode(const std::vector<Piece>& pieces, std::vector<Span>& spans) {
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (!pieces[i].family) continue;
    spans.push_back({i, 0, pieces[i].text.size(), StraightenAutoCorrectQuotes(pieces[i].text, *pieces[i].family), {}});
  }
}

void AppendSpansToLegacy(const std::vector<Piece>& pieces, std::vector<Span>& spans) {
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (pieces[i].family) continue;  // already legacy: left as it is
    const std::string& text = pieces[i].text;
    std::size_t pos = 0;
    std::size_t stretchBegin = 0, stretchEnd = 0;
    bool inStretch = false;
    while (pos < text.size()) {
      char32_t c;
      std::size_t length = text::DecodeUtf8(text, pos, c);
      if (length == 0) {
        length = 1;
        c = text::kReplacement;
      }
      if (convert::IsDevanagari(c) || (inStretch && IsJoiner(c))) {
        if (!inStretch) stretchBegin = pos;
        inStretch = true;
        stretchEnd = pos + length;
      } else if (inStretch && EndsDevanagariStretch(c)) {
        spans.push_back({i, stretchBegin, stretchEnd, text.substr(stretchBegin, stretchEnd - stretchBegin), {}});
        inStretch = false;
      }
      pos += length;
    }
    if (inStretch) spans.push_back({i, stretchBegin, stretchEnd, text.substr(stretchBegin, stretchEnd - stretchBegin), {}});
  }
}

// Whether two spans read as one text: the first ends its run, the second
// starts the next one with nothing but empty runs between.
bool Continues(const std::vector<Piece>& pieces, const Span& before, const Span& after) {
  if (before.end != pieces[before.piece].text.size() || after.begin != 0) return false;
  if (pieces[before.piece].family != pieces[after.piece].family) return false;
  for (std::size_t i = before.piece + 1; i <= after.piece; ++i) {
    if (!pieces[i].joinsPrevious) return false;
    if (i < after.piece && !pieces[i].text.empty()) return false;
  }
  return true;
}

struct Character {
  char32_t c;
  std::size_t span;
};

// Converts neighbouring spans as one text. The converter writes a syllable
// out once the next one begins, so feeding it one character at a time shows
// which input each piece of output came from; that piece goes to the span
// holding its base letter (the consonant or vowel the syllable is built on,
// not an i-kar typed before it or a reph typed after it).
void ConvertGroup(std::vector<Span>& spans, std::size_t first, std::size_t last, const ConvertSettings& settings,
                  LegacyFont family, Tally& tally) {
  convert::Options options = settings.options;
  if (settings.direction == Direction::kToUnicode) options.font = family;
  convert::Converter converter(settings.direction, options);
  if (first == last) {
    Span& span = spans[first];
    span.converted.reserve(span.text.size() * 3);
    converter.Feed(span.text, span.converted);
    converter.Finish(span.converted);
    tally.unconverted += converter.unconverted().count;
    return;
  }

  const convert::FontTable& table = convert::TableFor(family);
  auto isBase = [&](char32_t c) {
    return settings.direction == Direction::kToUnicode ? IsLegacyBase(c, table) : StartsSyllable(c);
  };
  // The characters from the first whose output is not given yet: a
  // syllable's worth, however long the group (a paragraph of one family can
  // be a whole document).
  std::deque<Character> pending;
  std::size_t cut = 0;  // the first character whose output is not given yet, and pending's first
  auto give = [&](std::string_view output, std::size_t from, std::size_t to) {
    if (output.empty()) return;
    if (to <= from) to = from + 1;
    std::size_t owner = pending[from - cut].span;
    for (std::size_t i = from; i < to && i - cut < pending.size(); ++i) {
      if (isBase(pending[i - cut].c)) {
        owner = pending[i - cut].span;
        break;
      }
    }
    spans[owner].converted.append(output);
  };

  std::string out;
  char bytes[4];
  std::size_t i = 0;
  for (std::size_t s = first; s <= last; ++s) {
    for (char32_t c : text::Utf8ToUtf32(spans[s].text)) {
      pending.push_back({c, s});
      out.clear();
      converter.Feed(std::string_view(bytes, text::EncodeUtf8(c, bytes)), out);
      if (!out.empty()) {
        give(out, cut, i);
        const std::size_t next = std::max(cut + 1, i);
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(next - cut));
        cut = next;
      }
      ++i;
    }
  }
  out.clear();
  converter.Finish(out);
  if (cut < i) give(out, cut, i);
  tally.unconverted += converter.unconverted().count;
}

}  // namespace

std::vector<PieceResult> ConvertPieces(const std::vector<Piece>& pieces, const ConvertSettings& settings,
                                       Tally& tally) {
  std::vector<Span> spans;
  if (settings.direction == Direction::kToUnicode)
    AppendSpansToUnicode(pieces, spans);
  else
    AppendSpansToLegacy(pieces, spans);

  for (std::size_t first = 0; first < spans.size();) {
    std::size_t last = first;
    while (last + 1 < spans.size() && Continues(pieces, spans[last], spans[last + 1])) ++last;
    const LegacyFont family = pieces[spans[first].piece].family.value_or(settings.options.font);
    ConvertGroup(spans, first, last, settings, family, tally);
    first = last + 1;
  }

  std::vector<PieceResult> results(pieces.size());
  std::vector<std::size_t> taken(pieces.size(), 0);  // bytes of each piece given out so far
  for (const Span& span : spans) {
    PieceResult& result = results[span.piece];
    const std::string& text = pieces[span.piece].text;
    if (span.begin > taken[span.piece])
      result.segments.push_back({text.substr(taken[span.piece], span.begin - taken[span.piece]), false});
    result.segments.push_back({span.converted, true});
    result.touched = true;
    taken[span.piece] = span.end;
  }
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    PieceResult& result = results[i];
    const std::string& text = pieces[i].text;
    if (taken[i] < text.size()) result.segments.push_back({text.substr(taken[i]), false});
    if (result.segments.empty()) result.segments.push_back({text, false});
    // A Devanagari stretch whose syllables went to a neighbour leaves
    // nothing behind beside the run's English.
    if (result.segments.size() > 1) {
      std::erase_if(result.segments, [](const Segment& s) { return s.converted && s.text.empty(); });
      if (result.segments.empty()) result.segments.push_back({std::string(), true});
    }
    if (result.changed()) ++tally.convertedRuns;
  }
  return results;
}

std::string StraightenAutoCorrectQuotes(std::string_view legacyText, LegacyFont family) {
  const convert::FontTable& table = convert::TableFor(family);
  auto straight = [&](char32_t c) -> char {
    int code = 0;
    char typed = 0;
    switch (c) {
      case 0x2018: code = 0x91; typed = '\''; break;
      case 0x2019: code = 0x92; typed = '\''; break;
      case 0x201C: code = 0x93; typed = '"'; break;
      case 0x201D: code = 0x94; typed = '"'; break;
      default: return 0;
    }
    return table.glyphs[code].length == 0 ? typed : 0;
  };
  std::string out;
  out.reserve(legacyText.size());
  std::size_t pos = 0;
  while (pos < legacyText.size()) {
    char32_t c;
    const std::size_t length = text::DecodeUtf8(legacyText, pos, c);
    if (length == 3) {
      if (const char typed = straight(c)) {
        out.push_back(typed);
        pos += length;
        continue;
      }
    }
    const std::size_t kept = length == 0 ? 1 : length;
    out.append(legacyText.substr(pos, kept));
    pos += kept;
  }
  return out;
}

std::optional<LegacyFont> LegacyFamilyOf(std::string_view fontName) { return convert::LegacyFontByName(fontName); }

bool HoldsAny(std::string_view utf8, bool (*test)(char32_t)) {
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t c;
    const std::size_t length = text::DecodeUtf8(utf8, pos, c);
    if (length == 0) {
      ++pos;
      continue;
    }
    if (test(c)) return true;
    pos += length;
  }
  return false;
}

bool HoldsDevanagari(std::string_view utf8) { return HoldsAny(utf8, convert::IsDevanagari); }

}  // namespace lk::documents
