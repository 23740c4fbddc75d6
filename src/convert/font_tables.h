#pragma once
// What each code of a legacy font draws, as Unicode in the order a typist
// types it, and the reverse lookups the Unicode-to-legacy direction needs.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
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
inline constexpr char32_t kIKar = 0x093F;
inline constexpr char32_t kAa = 0x093E;
inline constexpr char32_t kE = 0x0947;
inline constexpr char32_t kAi = 0x0948;
inline constexpr char32_t kO = 0x094B;
inline constexpr char32_t kAu = 0x094C;
inline constexpr char32_t kCandraE = 0x0945;
inline constexpr char32_t kCandraO = 0x0949;
inline constexpr char32_t kVocalicR = 0x0943;
inline constexpr char32_t kCandrabindu = 0x0901;
inline constexpr char32_t kAnusvara = 0x0902;
inline constexpr char32_t kVisarga = 0x0903;
inline constexpr char32_t kDanda = 0x0964;
inline constexpr char32_t kDoubleDanda = 0x0965;
inline constexpr char32_t kAvagraha = 0x093D;
inline constexpr char32_t kRra = 0x0931;
inline constexpr char32_t kPa = 0x092A;
inline constexpr char32_t kPha = 0x092B;
inline constexpr char32_t kBha = 0x092D;
inline constexpr char32_t kJha = 0x091D;

struct Glyph {
  std::array<char32_t, 4> text{};  // typed-order Unicode, kRephMark and kin
  std::uint8_t length = 0;         // 0: the font draws nothing here
  bool readOnly = false;           // read when met, never written (builds differ)
  std::u32string_view view() const { return {text.data(), length}; }
};

// The codes to type for one piece of Unicode, at most a few.
struct Keys {
  std::array<char, 7> codes{};
  std::uint8_t size = 0;
  bool empty() const { return size == 0; }
  std::string_view view() const { return {codes.data(), size}; }
  Keys& operator+=(const Keys& more) {
    for (std::uint8_t i = 0; i < more.size && size < codes.size(); ++i) codes[size++] = more.codes[i];
    return *this;
  }
};

// The keys a careful typist uses for each piece of Unicode in one font.
// Devanagari goes by its offset in the block (U+0900 + i).
struct ReverseKeys {
  std::array<Keys, 128> full;      // क → s
  std::array<Keys, 128> half;      // क् → S
  std::array<Keys, 128> devanagari;  // vowel signs and letters, marks, digits, dandas
  std::map<char32_t, Keys> other;    // punctuation and the rest
  std::map<std::pair<char32_t, char32_t>, Keys> pair;      // द्द → 2
  std::map<std::pair<char32_t, char32_t>, Keys> pairHalf;  // क्ष् → I
  std::map<std::pair<char32_t, char32_t>, Keys> withSign;  // रु → ?
  Keys rakar;           // ्र
  Keys rakarRetroflex;  // ्र under ट ठ ड ढ
  Keys yaPhala;         // ्य after letters without a half form
  Keys virama;          // visible halant
  Keys reph, hook, eyelash, nukta;
};

struct FontTable {
  std::array<Glyph, 256> glyphs;
  ReverseKeys reverse;
};

const FontTable& TableFor(LegacyFont font);

// The code a character of legacy text stands for: its Windows-1252 byte, or
// U+F0xx as a symbol font's text arrives; -1 when it stands for none.
int LegacyCodeAbove255(char32_t c);
inline int LegacyCode(char32_t c) {
  // The five codes 1252 leaves open arrive as C1 controls, the others as themselves.
  return c < 0x100 ? static_cast<int>(c) : LegacyCodeAbove255(c);
}

inline bool IsDevanagari(char32_t c) { return c >= 0x0900 && c < 0x0980; }
inline bool IsConsonant(char32_t c) { return (c >= 0x0915 && c <= 0x0939) || (c >= 0x0958 && c <= 0x095F); }

// Dependent vowel signs, ि excepted: it is typed before its cluster.
inline bool IsVowelSign(char32_t c) {
  return (c >= 0x093E && c <= 0x094C && c != 0x093F) || (c >= 0x0955 && c <= 0x0957) || c == 0x0962 ||
         c == 0x0963;
}

inline bool IsIndependentVowel(char32_t c) {
  return (c >= 0x0904 && c <= 0x0914) || c == 0x0960 || c == 0x0961 || (c >= 0x0972 && c <= 0x0977);
}

inline bool IsModifier(char32_t c) { return c >= 0x0901 && c <= 0x0903; }  // ँ ं ः

}  // namespace lk::convert
