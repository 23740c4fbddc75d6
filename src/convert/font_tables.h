#pragma once
// What each code of a legacy font draws, as Unicode in the order a typist
// types it, and the reverse lookups the Unicode-to-legacy direction needs.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "convert/legacy_font.h"

namespace lk::convert {

// Glyphs with no Unicode character of their own. They never reach the output.
inline constexpr char32_t kRephMark = 0xE000;     // reph, typed after its syllable
inline constexpr char32_t kHookMark = 0xE001;     // the hook that makes प फ, भ झ, उ ऊ, त्र क्र
inline constexpr char32_t kEyelashMark = 0xE002;  // eyelash RA, a half form of र

inline constexpr char32_t kVirama = 0x094D;
inline constexpr char32_t kNukta = 0x093C;
inline constexpr char32_t kRa = 0x0930;
inline constexpr char32_t kYa = 0x092F;
inline constexpr char32_t kZwj = 0x200D;
inline constexpr char32_t kZwnj = 0x200C;

struct Glyph {
  std::array<char32_t, 4> text{};  // typed-order Unicode, kRephMark and kin
  std::uint8_t length = 0;         // 0: the font draws nothing here
  bool readOnly = false;           // read when met, never written (builds differ)
  std::u32string_view view() const { return {text.data(), length}; }
};

// The keys a careful typist uses for each piece of Unicode in one font.
// Each value is the font codes to write, as bytes.
struct ReverseKeys {
  std::map<char32_t, std::string> full;                        // क → s
  std::map<char32_t, std::string> half;                        // क् → S
  std::map<std::pair<char32_t, char32_t>, std::string> pair;   // द्द → 2
  std::map<std::pair<char32_t, char32_t>, std::string> pairHalf;  // क्ष् → I
  std::map<std::pair<char32_t, char32_t>, std::string> withSign;  // रु → ?
  std::map<char32_t, std::string> single;  // vowel signs, vowel letters, digits, punctuation
  std::string rakar;           // ्र
  std::string rakarRetroflex;  // ्र under ट ठ ड ढ
  std::string yaPhala;         // ्य after letters without a half form
  std::string virama;          // visible halant
  std::string reph, hook, eyelash, nukta;
};

struct FontTable {
  std::array<Glyph, 256> glyphs;
  ReverseKeys reverse;
};

const FontTable& TableFor(LegacyFont font);

bool IsConsonant(char32_t c);
// Dependent vowel signs, ि excepted: it is typed before its cluster.
bool IsVowelSign(char32_t c);
bool IsIndependentVowel(char32_t c);
bool IsModifier(char32_t c);  // ँ ं ः

}  // namespace lk::convert
