// Round trips over the words of the Nepali hunspell dictionary: a word written
// in a legacy font and read back must be the word again. The dictionary is the
// largest body of real Nepali spelling at hand, so it finds the clusters, rephs
// and i-kars that hand-made cases forget.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "convert/converter.h"
#include "convert/legacy_font.h"
#include "text/utf8.h"

namespace lk::convert {
namespace {

std::string DictionaryPath() {
  if (const char* path = std::getenv("LK_HUNSPELL_NE_DIC")) return path;
  return "/usr/share/hunspell/ne_NP.dic";
}

// Each entry is "stem[/flags]", some with morphology after a tab or blanks and
// one with its flags glued on without the slash; only the stem is a word.
std::optional<std::vector<std::string>> LoadStems(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string line;
  std::getline(in, line);  // the entry count
  std::vector<std::string> stems;
  std::unordered_set<std::string> seen;
  while (std::getline(in, line)) {
    std::string stem = line.substr(0, line.find_first_of("/\t \r"));
    const auto lastLetter = stem.find_last_not_of("0123456789");
    if (lastLetter != std::string::npos) stem.erase(lastLetter + 1);
    if (!stem.empty() && seen.insert(stem).second) stems.push_back(std::move(stem));
  }
  return stems;
}

// Joiners only steer how a cluster is drawn, and the legacy side draws with
// glyphs instead; a leftover byte order mark inside an entry is noise. Some
// entries spell the visarga with an ASCII colon (अत:): legacy fonts draw
// both with one glyph, which reads back as the visarga after a letter.
std::string Comparable(std::string_view utf8) {
  std::string out;
  std::size_t pos = 0;
  char32_t cp;
  bool afterDevanagari = false;
  while (pos < utf8.size()) {
    const std::size_t length = lk::text::DecodeUtf8(utf8, pos, cp);
    if (length == 0) {
      out.push_back(utf8[pos++]);
      afterDevanagari = false;
      continue;
    }
    if (cp == ':' && afterDevanagari) lk::text::AppendUtf8(out, 0x0903);
    else if (cp != 0x200C && cp != 0x200D && cp != 0xFEFF) out.append(utf8.substr(pos, length));
    afterDevanagari = cp >= 0x0900 && cp <= 0x097F;
    pos += length;
  }
  return out;
}

bool HoldsDevanagari(std::string_view utf8) {
  for (char32_t cp : lk::text::Utf8ToUtf32(utf8)) {
    if (cp >= 0x0900 && cp <= 0x097F) return true;
  }
  return false;
}

struct Miss {
  std::string word;
  std::string legacy;
  std::string back;
};

struct Figures {
  std::size_t words = 0;
  std::size_t kept = 0;
  std::vector<Miss> misses;
  std::vector<Miss> withDevanagari;  // legacy text that still holds Devanagari
  std::vector<Miss> uncounted;       // ... without the converter saying so

  double Share() const { return words == 0 ? 0.0 : 100.0 * static_cast<double>(kept) / static_cast<double>(words); }
};

Figures RoundTrip(const std::vector<std::string>& stems, const Options& options) {
  Figures figures;
  for (const std::string& stem : stems) {
    Unconverted unconverted;
    const std::string legacy = ToLegacy(stem, options, &unconverted);
    const std::string back = ToUnicode(legacy, options);
    ++figures.words;
    if (Comparable(back) == Comparable(stem)) {
      ++figures.kept;
    } else {
      figures.misses.push_back({stem, legacy, back});
    }
    if (HoldsDevanagari(legacy)) {
      figures.withDevanagari.push_back({stem, legacy, back});
      if (unconverted.count == 0) figures.uncounted.push_back({stem, legacy, back});
    }
  }
  return figures;
}

std::string Listing(const std::vector<Miss>& misses, std::size_t limit) {
  std::string list;
  for (std::size_t i = 0; i < misses.size() && i < limit; ++i) {
    list += "  " + misses[i].word + "  ->  " + misses[i].legacy + "  ->  " + misses[i].back + "\n";
  }
  if (misses.size() > limit) list += "  ... and " + std::to_string(misses.size() - limit) + " more\n";
  return list;
}

void Report(std::string_view font, const Figures& figures) {
  std::printf("[ figures  ] %.*s: %zu of %zu words come back (%.3f %%), %zu legacy forms hold Devanagari\n",
              static_cast<int>(font.size()), font.data(), figures.kept, figures.words, figures.Share(),
              figures.withDevanagari.size());
  ::testing::Test::RecordProperty(std::string(font) + "_words", std::to_string(figures.words));
  ::testing::Test::RecordProperty(std::string(font) + "_kept", std::to_string(figures.kept));
}

TEST(ConvertRoundTrip, DictionaryWordsComeBackThroughPreeti) {
  const auto stems = LoadStems(DictionaryPath());
  if (!stems) GTEST_SKIP() << DictionaryPath() << " is not installed (Debian package hunspell-ne)";
  // A short or misread dictionary would make any share meaningless.
  ASSERT_GT(stems->size(), 30000u);

  const Figures figures = RoundTrip(*stems, Options{});
  Report("Preeti", figures);
  EXPECT_GE(figures.Share(), 99.9) << figures.misses.size() << " words do not come back; the first ones:\n"
                                   << Listing(figures.misses, 30);
  // Only a letter no legacy glyph draws (ळ) may stay Devanagari, and never
  // silently; such words are rare enough to count on one hand.
  EXPECT_TRUE(figures.uncounted.empty()) << figures.uncounted.size()
                                         << " legacy forms hold Devanagari nobody counted:\n"
                                         << Listing(figures.uncounted, 30);
  EXPECT_LE(figures.withDevanagari.size(), 5u) << Listing(figures.withDevanagari, 30);
}

TEST(ConvertRoundTrip, DictionaryWordsComeBackThroughEveryFont) {
  const auto stems = LoadStems(DictionaryPath());
  if (!stems) GTEST_SKIP() << DictionaryPath() << " is not installed (Debian package hunspell-ne)";

  for (LegacyFont font : kAllLegacyFonts) {
    Options options;
    options.font = font;
    const Figures figures = RoundTrip(*stems, options);
    Report(LegacyFontName(font), figures);
    EXPECT_GE(figures.Share(), 99.9) << LegacyFontName(font) << ": " << figures.misses.size()
                                     << " words do not come back; the first ones:\n"
                                     << Listing(figures.misses, 30);
  }
}

}  // namespace
}  // namespace lk::convert
