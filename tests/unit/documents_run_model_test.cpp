// Runs converted as Word splits them: syllables across runs, English beside
// legacy text, curly quotes that AutoCorrect made of typed ones.
#include <gtest/gtest.h>

#include "documents/run_model.h"

namespace lk::documents {
namespace {

using convert::Direction;
using convert::LegacyFont;

constexpr auto kPreeti = LegacyFont::kPreeti;

Piece Legacy(std::string text, LegacyFont family = kPreeti) { return {std::move(text), family, true}; }
Piece Other(std::string text) { return {std::move(text), std::nullopt, true}; }

ConvertSettings To(Direction direction) {
  ConvertSettings settings;
  settings.direction = direction;
  return settings;
}

// Each piece's new text, with converted parts in [brackets].
std::vector<std::string> Shown(const std::vector<PieceResult>& results) {
  std::vector<std::string> shown;
  for (const PieceResult& result : results) {
    std::string text;
    for (const Segment& s : result.segments) text += s.converted ? "[" + s.text + "]" : s.text;
    shown.push_back(text);
  }
  return shown;
}

std::vector<std::string> ToUnicode(const std::vector<Piece>& pieces, Tally* tallyOut = nullptr) {
  Tally tally;
  auto shown = Shown(ConvertPieces(pieces, To(Direction::kToUnicode), tally));
  if (tallyOut) *tallyOut = tally;
  return shown;
}

TEST(DocumentRuns, SyllablesSplitBetweenRunsGoToTheRunOfTheirBaseLetter) {
  struct Case {
    std::vector<Piece> pieces;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      // i-kar typed before its consonant, in the run before
      {{Legacy("l"), Legacy("stfa")}, {"[]", "[किताब]"}},
      // reph typed after its cluster, in the run after
      {{Legacy("sd"), Legacy("{")}, {"[कर्म]", "[]"}},
      // a half form at a run's end joins the next run's consonant
      {{Legacy("S"), Legacy("o")}, {"[क्य]", "[]"}},
      // a split between whole syllables keeps each where it was
      {{Legacy("g]"), Legacy("kfn")}, {"[ने]", "[पाल]"}},
      // an empty run between does not part them
      {{Legacy("l"), Other(""), Legacy("s")}, {"[]", "", "[कि]"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ToUnicode(c.pieces), c.expected) << c.pieces[0].text;
}

TEST(DocumentRuns, OnlyNeighbouringRunsOfOneFamilyReadAsOneText) {
  // English between Preeti runs is left alone and parts them.
  EXPECT_EQ(ToUnicode({Legacy("g]kfn"), Other(" Hello "), Legacy(";/sf/")}),
            (std::vector<std::string>{"[नेपाल]", " Hello ", "[सरकार]"}));
  // Something a reader sees between two runs: no syllable runs across it.
  Piece after = Legacy("s");
  after.joinsPrevious = false;
  EXPECT_EQ(ToUnicode({Legacy("g]kfn"), after})[1], "[क]");
  // Two families never join: Kantipur's F is aa, Preeti's candrabindu.
  EXPECT_EQ(ToUnicode({Legacy("s", LegacyFont::kKantipur), Legacy("F")}), (std::vector<std::string>{"[क]", "[ँ]"}));
}

TEST(DocumentRuns, UnicodeRunsAreLeftAloneSoConvertingTwiceChangesNothing) {
  Tally tally;
  const std::vector<Piece> converted{Other("नेपाल"), Other(" Hello")};
  const auto results = ConvertPieces(converted, To(Direction::kToUnicode), tally);
  for (const PieceResult& r : results) EXPECT_FALSE(r.changed());
  EXPECT_EQ(tally.convertedRuns, 0u);
  EXPECT_EQ(tally.unconverted, 0u);
}

TEST(DocumentRuns, ToLegacyOnlyTheDevanagariOfAMixedRunTakesTheFamily) {
  Tally tally;
  const auto shown = Shown(ConvertPieces({Other("नेपाल Hello सरकार, 2080")}, To(Direction::kToLegacy), tally));
  EXPECT_EQ(shown[0], "[g]kfn] Hello [;/sf/], 2080");
  // Blanks between two Devanagari words go with them; a bold word split
  // from its vowel sign still converts as one syllable.
  EXPECT_EQ(Shown(ConvertPieces({Other("नेपाल सरकार")}, To(Direction::kToLegacy), tally))[0], "[g]kfn ;/sf/]");
  EXPECT_EQ(Shown(ConvertPieces({Other("Dear क"), Other("ि")}, To(Direction::kToLegacy), tally)),
            (std::vector<std::string>{"Dear [ls]", "[]"}));
  // A vowel sign whose syllable went to the run before leaves the rest of
  // its run changed, so that no writer keeps the old text beside it.
  const auto moved = ConvertPieces({Other("क"), Other("ि Hello")}, To(Direction::kToLegacy), tally);
  EXPECT_EQ(Shown(moved), (std::vector<std::string>{"[ls]", " Hello"}));
  EXPECT_TRUE(moved[1].changed());
  // A run already in a legacy family stays as it is.
  EXPECT_EQ(Shown(ConvertPieces({Legacy("g]kfn")}, To(Direction::kToLegacy), tally))[0], "g]kfn");
}

TEST(DocumentRuns, AutoCorrectQuotesAreReadAsTypedWhereTheFamilyDrawsNothing) {
  // Preeti draws nothing at ’ (0x92): the typist's ' is u-kar.
  EXPECT_EQ(ToUnicode({Legacy("s’")})[0], "[कु]");
  EXPECT_EQ(StraightenAutoCorrectQuotes("“s”", kPreeti), "\"s\"");
  // Preeti draws candra E at ‘ (0x91): a glyph, kept.
  EXPECT_EQ(StraightenAutoCorrectQuotes("‘", kPreeti), "‘");
  // Sagarmatha draws quotes of its own at 0x91, 0x92 and 0x94, and
  // candrabindu at 0x93.
  EXPECT_EQ(StraightenAutoCorrectQuotes("‘’“”", LegacyFont::kSagarmatha), "‘’“”");
}

TEST(DocumentRuns, UnmappedCharactersAreCountedAndFamiliesFoundByLooseNames) {
  Tally tally;
  ToUnicode({Legacy("s€")}, &tally);  // Preeti draws nothing at 0x80
  EXPECT_EQ(tally.unconverted, 1u);
  EXPECT_EQ(tally.convertedRuns, 1u);
  EXPECT_EQ(LegacyFamilyOf("PREETI "), kPreeti);
  EXPECT_EQ(LegacyFamilyOf("pcs nepali"), LegacyFont::kPcsNepali);
  EXPECT_EQ(LegacyFamilyOf("Times New Roman"), std::nullopt);
  EXPECT_TRUE(HoldsDevanagari("abc क"));
  EXPECT_FALSE(HoldsDevanagari("abc"));
}

}  // namespace
}  // namespace lk::documents
