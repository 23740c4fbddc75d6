#include "convert/font_tables.h"

#include "text/cp1252.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace lk::convert {
namespace {

struct Row {
  unsigned char code;
  const char32_t* text;  // nullptr: this font draws nothing at the code
  bool readOnly = false;
};

#define REPH U"\uE000"
#define HOOK U"\uE001"
#define EYELASH U"\uE002"

// Preeti as its 1993 font draws it. Codes with no glyph in that font but
// mapped by other builds of it are read, never written.
const Row kPreeti[] = {
    {0x20, U" "},      {0x21, U"१"},     {0x22, U"ू"},     {0x23, U"३"},     {0x24, U"४"},
    {0x25, U"५"},      {0x26, U"७"},     {0x27, U"ु"},     {0x28, U"९"},     {0x29, U"०"},
    {0x2A, U"८"},      {0x2B, U"ं"},     {0x2C, U","},     {0x2D, U"("},     {0x2E, U"।"},
    {0x2F, U"र"},      {0x30, U"ण्"},    {0x31, U"ज्ञ"},   {0x32, U"द्द"},   {0x33, U"घ"},
    {0x34, U"द्ध"},    {0x35, U"छ"},     {0x36, U"ट"},     {0x37, U"ठ"},     {0x38, U"ड"},
    {0x39, U"ढ"},      {0x3A, U"स्"},    {0x3B, U"स"},     {0x3C, U"?"},     {0x3D, U"."},
    {0x3E, U"श्र"},    {0x3F, U"रु"},    {0x40, U"२"},     {0x41, U"ब्"},    {0x42, U"द्य"},
    {0x43, U"ऋ"},      {0x44, U"म्"},    {0x45, U"भ्"},    {0x46, U"ँ"},     {0x47, U"न्"},
    {0x48, U"ज्"},     {0x49, U"क्ष्"},  {0x4A, U"व्"},    {0x4B, U"प्"},    {0x4C, U"ी"},
    {0x4D, U"ः"},      {0x4E, U"ल्"},    {0x4F, U"इ"},     {0x50, U"ए"},     {0x51, U"त्त"},
    {0x52, U"च्"},     {0x53, U"क्"},    {0x54, U"त्"},    {0x55, U"ग्"},    {0x56, U"ख्"},
    {0x57, U"ध्"},     {0x58, U"ह्"},    {0x59, U"थ्"},    {0x5A, U"श्"},    {0x5B, U"ृ"},
    {0x5C, U"्"},      {0x5D, U"े"},     {0x5E, U"६"},     {0x5F, U")"},     {0x60, U"ञ"},
    {0x61, U"ब"},      {0x62, U"द"},     {0x63, U"अ"},     {0x64, U"म"},     {0x65, U"भ"},
    {0x66, U"ा"},      {0x67, U"न"},     {0x68, U"ज"},     {0x69, U"ष्"},    {0x6A, U"व"},
    {0x6B, U"प"},      {0x6C, U"ि"},     {0x6D, HOOK},     {0x6E, U"ल"},     {0x6F, U"य"},
    {0x70, U"उ"},      {0x71, U"त्र"},   {0x72, U"च"},     {0x73, U"क"},     {0x74, U"त"},
    {0x75, U"ग"},      {0x76, U"ख"},     {0x77, U"ध"},     {0x78, U"ह"},     {0x79, U"थ"},
    {0x7A, U"श"},      {0x7B, REPH},     {0x7C, U"्र"},    {0x7D, U"ै"},     {0x7E, U"ञ्"},
    {0x84, U"ध्र"},    {0x85, U"‘"},     {0x88, U"फ्"},    {0x89, U"झ्"},    {0x8B, U"ङ्घ"},
    {0x91, U"ॅ"},      {0x95, U"ड्ड"},   {0x96, U"-"},     {0x97, U"—"},     {0x98, U"ऽ"},
    {0x9B, U"द्र"},    {0xA0, U"\u00A0"}, {0xA1, U"ज्ञ्"}, {0xA2, U"द्घ"},   {0xA3, U"घ्"},
    {0xA4, U"झ्", true}, {0xA5, EYELASH}, {0xA7, U"ट्ट"},  {0xA9, U"र", true}, {0xAA, U"ङ"},
    {0xAB, U"्र"},     {0xB0, U"ङ्ढ"},   {0xB1, U"+"},     {0xB4, U"झ"},     {0xB6, U"ठ्ठ"},
    {0xBF, U"रू"},     {0xC5, U"हृ"},    {0xC6, U"”"},     {0xCB, U"ङ्ग"},   {0xCC, U"न्न"},
    {0xCD, U"ङ्क"},    {0xCE, U"ङ्ख"},   {0xD2, U"¨", true}, {0xD6, U"="},   {0xD7, U"×", true},
    {0xD8, U"्य"},     {0xD9, U";"},     {0xDA, U"’"},     {0xDB, U"!"},     {0xDC, U"%"},
    {0xDD, U"ट्ठ"},    {0xDE, U"़"},     {0xDF, U"द्म"},   {0xE5, U"द्व"},   {0xE6, U"“"},
    {0xE7, U"ॐ"},      {0xF7, U"/"},
};

const Row kKantipur[] = {
    {0x46, U"ा"},   {0x58, U"हृ"},  {0x86, U"!"},   {0x88, nullptr}, {0x8C, U"त्त्"},
    {0x93, U"ँ"},   {0x99, U"र"},   {0x9B, U"ऽ"},   {0x9C, U"त्र्"}, {0xA8, U"ङ्ग"},
    {0xAC, U"…"},   {0xAD, U"("},   {0xAE, U"र"},   {0xAF, U"¯"},    {0xB5, U"र"},
    {0xBA, U"फ्"},  {0xC2, U"र"},   {0xC5, nullptr}, {0xC8, U"ष"},   {0xCE, U"फ्"},
    {0xCF, U"फ्"},  {0xD4, U"क्ष"}, {0xD6, nullptr}, {0xD7, nullptr}, {0xD9, nullptr},
    {0xDB, nullptr}, {0xDC, nullptr}, {0xDD, nullptr}, {0xF8, U"य्"},
};

// Sagarmatha draws हृ at X (its ह् is at Þ) and has a second set of vowel
// sign codes in the high range.
const Row kSagarmatha[] = {
    {0x58, U"हृ"},  {0x82, U")"},   {0x83, U"द्र"}, {0x84, U"्"},    {0x85, nullptr},
    {0x86, U";"},   {0x87, U"े"},   {0x88, U"ृ"},   {0x8A, REPH},    {0x8B, U"ै"},
    {0x8C, U"त्त्"}, {0x91, U"‘"},  {0x92, U"’"},   {0x93, U"ँ"},    {0x94, U"”"},
    {0x95, nullptr}, {0x98, nullptr}, {0x9B, nullptr}, {0x9C, U"त्र्"}, {0xA4, U"!"},
    {0xA9, nullptr}, {0xAC, U"ु"},  {0xAD, U"("},   {0xAE, U"र"},    {0xB0, U"ङ्क"},
    {0xB5, U"झ"},   {0xB7, U"ङ्ग"}, {0xB8, U"ड्ड"}, {0xC5, U"फ"},    {0xC7, U"फ्"},
    {0xC8, U"ष"},   {0xC9, U"स"},   {0xCB, nullptr}, {0xCC, nullptr}, {0xCD, nullptr},
    {0xCE, nullptr}, {0xD2, U"ू"},  {0xD4, U"क्ष"}, {0xD6, nullptr}, {0xD7, nullptr},
    {0xD9, U"ह"},   {0xDA, nullptr}, {0xDB, nullptr}, {0xDD, nullptr}, {0xDE, U"ह्"},
    {0xE8, U"द्भ"}, {0xF8, U"य्"},
};

// PCS Nepali and Fontasy Himali swap the number row: digits unshifted, the
// letters Preeti keeps there shifted.
#define SWAPPED_NUMBER_ROW                                                                   \
  {0x21, U"ज्ञ"}, {0x23, U"घ"}, {0x24, U"द्ध"}, {0x25, U"छ"}, {0x26, U"ठ"}, {0x28, U"ढ"},   \
      {0x29, U"ण्"}, {0x2A, U"ड"}, {0x30, U"०"}, {0x31, U"१"}, {0x32, U"२"}, {0x33, U"३"}, \
      {0x34, U"४"}, {0x35, U"५"}, {0x36, U"६"}, {0x37, U"७"}, {0x38, U"८"}, {0x39, U"९"},  \
      {0x40, U"द्द"}, {0x5E, U"ट"}

const Row kPcsNepali[] = {
    SWAPPED_NUMBER_ROW,
    {0x3C, U"्र"},  {0x3F, U"रू"},  {0x43, EYELASH}, {0x46, U"ा"},   {0x60, U"ञ्"},
    {0x7E, U"ङ"},   {0x84, nullptr}, {0x85, nullptr}, {0x88, nullptr}, {0x89, nullptr},
    {0x8B, nullptr}, {0x91, nullptr}, {0x95, nullptr}, {0x98, nullptr}, {0x9B, nullptr},
    {0xA4, U"ँ"},   {0xA5, U"ऋ"},   {0xA9, U"?"},   {0xAA, U"ञ"},    {0xAB, nullptr},
    {0xAE, U"+"},   {0xB0, U"ङ्क"}, {0xB1, nullptr}, {0xB6, nullptr}, {0xB7, U"ट्ठ"},
    {0xBF, U"रु"},  {0xC5, nullptr}, {0xCB, nullptr}, {0xCC, nullptr}, {0xCD, nullptr},
    {0xCE, nullptr}, {0xD2, U"ू"},  {0xD4, U"क्ष"}, {0xD6, nullptr}, {0xD7, nullptr},
    {0xD9, U"ह"},   {0xDA, nullptr}, {0xDB, nullptr}, {0xDC, nullptr}, {0xDD, nullptr},
    {0xE9, U"ङ्ग"}, {0xED, U"ष"},   {0xF1, U"ङ"},   {0xF8, U"य्"},   {0xFA, U"ू"},
};

const Row kFontasyHimaliTt[] = {
    SWAPPED_NUMBER_ROW,
    {0x46, U"ा"},   {0x58, U"हृ"},  {0x60, U"ञ्"},  {0x7E, U"ञ"},    {0x84, nullptr},
    {0x85, nullptr}, {0x88, nullptr}, {0x89, nullptr}, {0x8B, nullptr}, {0x91, nullptr},
    {0x95, nullptr}, {0x98, nullptr}, {0x9B, nullptr}, {0xA4, U"ँ"},   {0xA9, nullptr},
    {0xAD, U"("},   {0xAE, U"+"},   {0xB0, U"ङ्क"}, {0xB1, nullptr}, {0xC5, nullptr},
    {0xCB, nullptr}, {0xCC, nullptr}, {0xCD, nullptr}, {0xCE, nullptr}, {0xD1, U"ङ"},
    {0xD2, U"ू"},   {0xD4, U"क्ष"}, {0xD6, nullptr}, {0xD9, U"ह"},    {0xDA, U"ु"},
    {0xDB, nullptr}, {0xDC, nullptr}, {0xDD, nullptr}, {0xE9, U"ङ्ग"}, {0xED, U"ष"},
    {0xF8, U"य्"},  {0xFA, U"ू"},
};

#undef SWAPPED_NUMBER_ROW
#undef REPH
#undef HOOK
#undef EYELASH

void Apply(std::array<Glyph, 256>& glyphs, const Row* begin, const Row* end) {
  for (const Row* row = begin; row != end; ++row) {
    Glyph glyph;
    if (row->text != nullptr) {
      std::u32string_view text(row->text);
      glyph.length = static_cast<std::uint8_t>(text.size());
      std::copy(text.begin(), text.end(), glyph.text.begin());
      glyph.readOnly = row->readOnly;
    }
    glyphs[row->code] = glyph;
  }
}

Keys KeyOf(unsigned char code) {
  Keys keys;
  keys.codes[0] = static_cast<char>(code);
  keys.size = 1;
  return keys;
}
void Put(Keys& slot, unsigned char code) {
  if (slot.empty()) slot = KeyOf(code);
}
template <typename Key>
void Put(std::map<Key, Keys>& slots, const Key& key, unsigned char code) {
  slots.try_emplace(key, KeyOf(code));
}

// Several codes may draw the same thing (Kantipur draws ा at both F and f):
// the code Preeti uses for it comes first, so text stays readable in the
// family the user most likely has, then the lowest code.
ReverseKeys Derive(const std::array<Glyph, 256>& glyphs, const std::array<Glyph, 256>& preeti) {
  std::vector<unsigned char> order;
  for (int code = 0x20; code < 256; ++code) order.push_back(static_cast<unsigned char>(code));
  std::stable_sort(order.begin(), order.end(), [&](unsigned char a, unsigned char b) {
    const bool aSame = glyphs[a].view() == preeti[a].view();
    const bool bSame = glyphs[b].view() == preeti[b].view();
    return aSame && !bSame;
  });

  ReverseKeys keys;
  for (unsigned char code : order) {
    const Glyph& glyph = glyphs[code];
    if (glyph.length == 0 || glyph.readOnly) continue;
    const std::u32string_view t = glyph.view();
    const char32_t a = t[0];
    switch (t.size()) {
      case 1:
        if (a == kRephMark) Put(keys.reph, code);
        else if (a == kHookMark) Put(keys.hook, code);
        else if (a == kEyelashMark) Put(keys.eyelash, code);
        else if (a == kVirama) Put(keys.virama, code);
        else if (a == kNukta) Put(keys.nukta, code);
        else if (IsConsonant(a)) Put(keys.full[a - 0x0900], code);
        else if (IsDevanagari(a)) Put(keys.devanagari[a - 0x0900], code);
        else Put(keys.other, a, code);
        break;
      case 2:
        if (IsConsonant(a) && t[1] == kVirama) Put(keys.half[a - 0x0900], code);
        else if (a == kVirama && t[1] == kRa) Put(keys.rakar, code);
        else if (a == kVirama && t[1] == kYa) Put(keys.yaPhala, code);
        else if (IsConsonant(a)) Put(keys.withSign, {a, t[1]}, code);
        break;
      case 3:
        if (t[1] == kVirama) Put(keys.pair, {a, t[2]}, code);
        break;
      case 4:
        if (t[1] == kVirama && t[3] == kVirama) Put(keys.pairHalf, {a, t[2]}, code);
        break;
    }
  }
  // The caret that sits under ट ठ ड ढ, where the font has one.
  keys.rakarRetroflex = glyphs[0xAB].view() == U"्र" ? KeyOf(0xAB) : keys.rakar;
  return keys;
}

FontTable Build(const Row* begin, const Row* end) {
  static const std::array<Glyph, 256> preeti = [] {
    std::array<Glyph, 256> glyphs{};
    Apply(glyphs, std::begin(kPreeti), std::end(kPreeti));
    return glyphs;
  }();
  FontTable table;
  table.glyphs = preeti;
  Apply(table.glyphs, begin, end);
  table.reverse = Derive(table.glyphs, preeti);
  return table;
}

}  // namespace

const FontTable& TableFor(LegacyFont font) {
  static const FontTable tables[] = {
      Build(nullptr, nullptr),
      Build(std::begin(kKantipur), std::end(kKantipur)),
      Build(std::begin(kSagarmatha), std::end(kSagarmatha)),
      Build(std::begin(kPcsNepali), std::end(kPcsNepali)),
      Build(std::begin(kFontasyHimaliTt), std::end(kFontasyHimaliTt)),
  };
  return tables[static_cast<int>(font)];
}

int LegacyCodeAbove255(char32_t c) { return text::Cp1252CodeOf(c); }

}  // namespace lk::convert
