#pragma once
// The run-level view every rich format shares. A reader turns one paragraph
// of its format into pieces (one per run of text, in reading order), the
// conversion below rewrites their texts, and the writer puts the texts back
// into the runs they came from, giving converted runs their new font.
//
// Word and its kin split text into runs for reasons no reader sees (editing
// sessions, spell-check marks, bookmarks), so a syllable may start in one
// run and end in the next: neighbouring runs of one legacy family are
// converted as one text, and each syllable goes to the run that holds its
// base letter.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "convert/converter.h"
#include "convert/legacy_font.h"

namespace lk::documents {

struct ConvertSettings {
  convert::Direction direction = convert::Direction::kToUnicode;
  // options.font is the family text converted to legacy is given; the
  // eyelash choice holds for Unicode output.
  convert::Options options;
  std::string unicodeFont = "Nirmala UI";

  // The family converted text is given.
  std::string NewFamily() const {
    return direction == convert::Direction::kToUnicode ? unicodeFont : std::string(convert::LegacyFontName(options.font));
  }
};

// One run of a paragraph as a reader found it.
struct Piece {
  // UTF-8. Legacy text is the Windows-1252 reading of its codes (U+F0xx for
  // a symbol font's codes, as w:sym and \fcharset2 give them).
  std::string text;
  // The legacy family the run displays in; none for any other font.
  std::optional<convert::LegacyFont> family;
  // False when something a reader sees (a picture, a tab stop's field, a
  // note reference) stands between this run and the one before, so that no
  // syllable can run across.
  bool joinsPrevious = true;
};

// Part of a piece's new text: converted (it takes the new font) or left as
// it was (it keeps the run's own font).
struct Segment {
  std::string text;
  bool converted = false;
};

// What became of one piece, in order. A piece that is left alone has one
// unconverted segment with its text; a legacy run whose syllables all went
// to a neighbour keeps one converted segment with no text. To legacy, a run
// mixing Devanagari and English comes back as several segments, so that
// only the Devanagari takes the legacy family.
struct PieceResult {
  std::vector<Segment> segments;
  // Some of the piece was converted, even where all that is left of it is
  // text it kept (its Devanagari went to the run before): the writer must
  // write it anew, or the moved syllable would stand twice.
  bool touched = false;
  bool changed() const { return touched || segments.size() != 1 || segments.front().converted; }
};

// Counts what conversion could not map, for a whole document.
struct Tally {
  std::uint64_t unconverted = 0;
  std::uint64_t convertedRuns = 0;
  void Add(const Tally& other) {
    unconverted += other.unconverted;
    convertedRuns += other.convertedRuns;
  }
};

// Converts one paragraph's pieces; the result has one entry per piece.
std::vector<PieceResult> ConvertPieces(const std::vector<Piece>& pieces, const ConvertSettings& settings,
                                       Tally& tally);

// Word's AutoCorrect turns a typed ' or " into a curly quote. In a family
// that draws no glyph at the curly quote's code the typist meant the
// straight one (in Preeti ' is u-kar), so it is read as such; a family that
// draws a glyph there keeps it.
std::string StraightenAutoCorrectQuotes(std::string_view legacyText, convert::LegacyFont family);

// A font name as a document gives it ("PREETI", "Preeti ") to the legacy
// family it names, if any; compared as the text converter compares names.
std::optional<convert::LegacyFont> LegacyFamilyOf(std::string_view fontName);

// Whether a piece of Unicode text holds any Devanagari a legacy family could
// take (the test a to-legacy run is chosen by).
bool HoldsDevanagari(std::string_view utf8);

// Whether any character of a UTF-8 text passes the test (bytes that are not
// UTF-8 are skipped).
bool HoldsAny(std::string_view utf8, bool (*test)(char32_t));

}  // namespace lk::documents
