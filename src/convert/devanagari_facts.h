#pragma once
// Facts of Devanagari that both directions of conversion rely on, kept once:
// the legacy fonts draw some letters from two others, and Unicode composes
// three nukta letters where it writes the rest as letter and nukta.
#include <array>
#include <cstddef>

#include "convert/font_tables.h"

namespace lk::convert {

// A vowel letter or sign the fonts draw as its first part with a second one
// typed after it: ो is ा with े, आ is अ with ा, ई is इ with the reph's curl.
struct TwoPart {
  char32_t whole = 0;
  char32_t first = 0;
  char32_t second = 0;
  bool readOnly = false;  // how typists also write it, never how we spell it
};

// Where one first part takes several seconds, the row listed earlier wins.
inline constexpr TwoPart kTwoParts[] = {
    {.whole = kO, .first = kAa, .second = kE},
    {.whole = kAu, .first = kAa, .second = kAi},
    {.whole = kCandraO, .first = kAa, .second = kCandraE},
    {.whole = 0x0906, .first = 0x0905, .second = kAa},                       // आ
    {.whole = 0x0913, .first = 0x0906, .second = kE},                        // ओ
    {.whole = 0x0914, .first = 0x0906, .second = kAi},                       // औ
    {.whole = 0x0911, .first = 0x0906, .second = kCandraE},                  // ऑ
    {.whole = 0x0913, .first = 0x0905, .second = kO, .readOnly = true},      // ओ
    {.whole = 0x0914, .first = 0x0905, .second = kAu, .readOnly = true},     // औ
    {.whole = 0x0911, .first = 0x0905, .second = kCandraO, .readOnly = true},  // ऑ
    {.whole = 0x0910, .first = 0x090F, .second = kE},                        // ऐ
    {.whole = 0x0910, .first = 0x090F, .second = kAi, .readOnly = true},     // ऐ
    {.whole = 0x0908, .first = 0x0907, .second = kRephMark},                 // ई
    {.whole = 0x090A, .first = 0x0909, .second = kHookMark},                 // ऊ
};

// The parts we spell whole from, or none.
inline constexpr const TwoPart* SpeltFrom(char32_t whole) {
  for (const TwoPart& p : kTwoParts)
    if (p.whole == whole && !p.readOnly) return &p;
  return nullptr;
}

// The hook after a letter makes another letter: प फ, भ झ.
struct Hooked {
  char32_t plain = 0;
  char32_t hooked = 0;
};

inline constexpr Hooked kHooked[] = {
    {.plain = kPa, .hooked = kPha},
    {.plain = kBha, .hooked = kJha},
};

inline constexpr char32_t HookedOf(char32_t plain) {
  for (const Hooked& h : kHooked)
    if (h.plain == plain) return h.hooked;
  return 0;
}

inline constexpr char32_t UnhookedOf(char32_t hooked) {
  for (const Hooked& h : kHooked)
    if (h.hooked == hooked) return h.plain;
  return 0;
}

// Letters with a nukta of their own code point. Unicode composes only the
// first three from letter and nukta; the rest it keeps apart.
struct NuktaLetter {
  char32_t letter = 0;
  char32_t base = 0;
  bool composes = false;
};

inline constexpr NuktaLetter kNuktaLetters[] = {
    {.letter = 0x0929, .base = 0x0928, .composes = true},  // ऩ
    {.letter = 0x0931, .base = kRa, .composes = true},     // ऱ
    {.letter = 0x0934, .base = 0x0933, .composes = true},  // ऴ
    {.letter = 0x0958, .base = 0x0915},                    // क़
    {.letter = 0x0959, .base = 0x0916},                    // ख़
    {.letter = 0x095A, .base = 0x0917},                    // ग़
    {.letter = 0x095B, .base = 0x091C},                    // ज़
    {.letter = 0x095C, .base = 0x0921},                    // ड़
    {.letter = 0x095D, .base = 0x0922},                    // ढ़
    {.letter = 0x095E, .base = kPha},                      // फ़
    {.letter = 0x095F, .base = kYa},                       // य़
};

// Indexed by offset in the block: the base letter of a nukta letter, or 0.
inline constexpr std::array<char32_t, 128> kNuktaBase = [] {
  std::array<char32_t, 128> base{};
  for (const NuktaLetter& n : kNuktaLetters) base[n.letter - 0x0900] = n.base;
  return base;
}();

// The single code point Unicode composes from base and nukta, or 0.
inline constexpr char32_t ComposedNukta(char32_t base) {
  for (const NuktaLetter& n : kNuktaLetters)
    if (n.composes && n.base == base) return n.letter;
  return 0;
}

}  // namespace lk::convert
