// Unicode to legacy text: what a careful typist types so that the legacy
// font draws the same word. The machine gathers one orthographic cluster
// (reph, consonants joined by viramas, vowel signs, marks) and writes it in
// typed order: ि first, then the cluster with the font's ligature and
// half-form keys, the vowel signs, ं/ँ, and the reph last.
#include <array>

#include "convert/devanagari_facts.h"
#include "convert/font_tables.h"
#include "convert/machine.h"
#include "text/cp1252.h"

namespace lk::convert {
namespace {

struct Letter {
  char32_t cp = 0;
  bool nukta = false;
  bool joined = false;
  bool zwj = false;   // half form asked for: र्‍ is eyelash RA
  bool zwnj = false;  // visible virama asked for
  bool rra = false;   // written as ऱ
};

struct Cluster {
  bool active = false;
  char32_t vowel = 0;
  std::array<Letter, 12> letters;
  int letterCount = 0;
  std::array<char32_t, 4> signs{};
  int signCount = 0;
  bool candrabindu = false, anusvara = false, visarga = false;

  void Start() {
    active = true;
    vowel = 0;
    letterCount = 0;
    signCount = 0;
    candrabindu = anusvara = visarga = false;
  }
  Letter& last() { return letters[letterCount - 1]; }
  const Letter& last() const { return letters[letterCount - 1]; }
  bool hasSign(char32_t s) const {
    for (int i = 0; i < signCount; ++i)
      if (signs[i] == s) return true;
    return false;
  }
  bool hasMarks() const { return signCount > 0 || candrabindu || anusvara || visarga; }

  // Consonants, no vowel letter: what a virama, nukta or joiner can attach to.
  bool hasLetters() const { return active && vowel == 0 && letterCount > 0; }
  // A virama ends it and no sign has come yet: the next consonant joins.
  bool takesConsonant() const {
    return hasLetters() && last().joined && !hasMarks() && letterCount < static_cast<int>(letters.size());
  }
  bool takesVirama() const { return hasLetters() && !last().joined && !hasMarks(); }
  bool takesNukta() const { return hasLetters() && !last().joined; }
  // ZWJ or ZWNJ right after the virama says which form the half letter takes.
  bool takesJoiner() const { return active && letterCount > 0 && last().joined && !hasMarks(); }
};

bool Retroflex(char32_t c) { return c >= 0x091F && c <= 0x0922; }

void PutKeys(const Keys& keys, Sink& out) {
  for (std::uint8_t i = 0; i < keys.size; ++i) {
    const unsigned char code = static_cast<unsigned char>(keys.codes[i]);
    out.Put(code < 0x80 ? code : text::Cp1252ToUnit(code));
  }
}

Keys SpellVowel(const ReverseKeys& keys, char32_t v) {
  const Keys& own = keys.devanagari[v - 0x0900];
  if (!own.empty()) return own;
  if (SpeltFrom(v) == nullptr) return {};
  // ओ is अ, ा and े: a part that is itself spelt from two goes down to its
  // own parts, which take the font's keys.
  Keys built;
  const auto add = [&](const auto& self, char32_t part) -> bool {
    if (const TwoPart* parts = SpeltFrom(part)) {
      return self(self, parts->first) && self(self, parts->second);
    }
    const Keys& key = part == kRephMark   ? keys.reph
                      : part == kHookMark ? keys.hook
                                          : keys.devanagari[part - 0x0900];
    built += key;
    return !key.empty();
  };
  const TwoPart& parts = *SpeltFrom(v);
  if (!add(add, parts.first) || !add(add, parts.second)) return {};
  return built;
}

// What a font spells from other keys, worked out once per font rather than
// at every conversion.
struct Spelt {
  std::array<Keys, 128> full;  // letters, with the ones built from others
  std::array<Keys, 128> sign;  // vowel signs, vowel letters, marks, digits
};

Spelt Spell(const ReverseKeys& keys) {
  Spelt spelt;
  // Letters the fonts build from others: फ is प with the hook, झ is भ
  // with it, ण is its half form with the ा stroke.
  for (char32_t c = 0x0915; c <= 0x0939; ++c) {
    Keys& full = spelt.full[c - 0x0900];
    full = keys.full[c - 0x0900];
    const char32_t hooked = UnhookedOf(c);
    if (full.empty() && hooked && !keys.full[hooked - 0x0900].empty() && !keys.hook.empty()) {
      full = keys.full[hooked - 0x0900];
      full += keys.hook;
    }
    const Keys& aa = keys.devanagari[kAa - 0x0900];
    if (full.empty() && !keys.half[c - 0x0900].empty() && !aa.empty()) {
      full = keys.half[c - 0x0900];
      full += aa;
    }
  }
  for (char32_t c = 0x0900; c < 0x0980; ++c)
    if (!IsConsonant(c)) spelt.sign[c - 0x0900] = SpellVowel(keys, c);
  return spelt;
}

const Spelt& SpeltFor(LegacyFont font) {
  static const auto all = [] {
    std::array<Spelt, std::size(kAllLegacyFonts)> spelt;
    for (const LegacyFont f : kAllLegacyFonts) spelt[static_cast<int>(f)] = Spell(TableFor(f).reverse);
    return spelt;
  }();
  return all[static_cast<int>(font)];
}

class ToLegacyMachine final : public MachineOf<ToLegacyMachine> {
 public:
  explicit ToLegacyMachine(const Options& options)
      : keys_(TableFor(options.font).reverse), spelt_(SpeltFor(options.font)) {}

  // A precomposed nukta letter: its base letter, then the nukta, both
  // written whatever the first answers.
  bool WithNukta(char32_t base, Sink& out) {
    const bool letter = Consonant(base, false, out);
    const bool nukta = Nukta(out);
    return letter && nukta;
  }

  bool Push(char32_t c, Sink& out) {
    if (IsDevanagari(c)) {
      if (const char32_t base = kNuktaBase[c - 0x0900]) {
        return c == kRra ? Consonant(kRa, true, out) : WithNukta(base, out);
      }
    }
    if (IsConsonant(c)) return Consonant(c, false, out);
    if (c == kVirama) return Virama(out);
    if (c == kNukta) return Nukta(out);
    if (c == kZwj || c == kZwnj) {
      if (cl_.takesJoiner()) {
        (c == kZwj ? cl_.last().zwj : cl_.last().zwnj) = true;
      }
      return true;
    }
    if (c == 0xFEFF) return true;
    if (c == kIKar || IsVowelSign(c)) return Sign(c, out);
    if (IsModifier(c)) return Mark(c, out);
    if (IsIndependentVowel(c)) {
      Close(out);
      cl_.Start();
      cl_.vowel = c;
      return !Spelled(c).empty();
    }
    Close(out);
    return Other(c, out);
  }

  void Finish(Sink& out) override { Close(out); }

 private:
  const Keys& Full(char32_t c) const { return spelt_.full[c - 0x0900]; }
  const Keys& Half(char32_t c) const { return keys_.half[c - 0x0900]; }
  // A vowel sign, vowel letter, mark or digit, spelt as the fonts allow.
  const Keys& Spelled(char32_t c) const { return spelt_.sign[c - 0x0900]; }

  static const Keys* Find(const std::map<std::pair<char32_t, char32_t>, Keys>& map, char32_t a, char32_t b) {
    const auto it = map.find({a, b});
    return it == map.end() ? nullptr : &it->second;
  }

  bool Consonant(char32_t c, bool rra, Sink& out) {
    if (!cl_.takesConsonant()) {
      Close(out);
      cl_.Start();
    }
    Letter& letter = cl_.letters[cl_.letterCount++];
    // ऱ is र with a nukta, unless a virama makes it eyelash RA.
    letter = Letter{.cp = c, .nukta = rra, .rra = rra};
    if (rra) return !keys_.eyelash.empty() || !keys_.nukta.empty();
    return !Full(c).empty() || !Half(c).empty();
  }

  bool Virama(Sink& out) {
    if (cl_.takesVirama()) {
      cl_.last().joined = true;
      return true;
    }
    Close(out);
    return PutOr(keys_.virama, kVirama, out);
  }

  bool Nukta(Sink& out) {
    if (cl_.takesNukta()) {
      cl_.last().nukta = true;
      return !keys_.nukta.empty();
    }
    Close(out);
    return PutOr(keys_.nukta, kNukta, out);
  }

  bool Sign(char32_t s, Sink& out) {
    if (!cl_.active) return PutOr(Spelled(s), s, out);
    if (!cl_.hasSign(s) && cl_.signCount < static_cast<int>(cl_.signs.size())) cl_.signs[cl_.signCount++] = s;
    return !Spelled(s).empty();
  }

  bool Mark(char32_t m, Sink& out) {
    if (!cl_.active) return PutOr(Spelled(m), m, out);
    (m == kCandrabindu ? cl_.candrabindu : m == kAnusvara ? cl_.anusvara : cl_.visarga) = true;
    return !Spelled(m).empty();
  }

  static bool PutOr(const Keys& keys, char32_t raw, Sink& out) {
    if (keys.empty()) {
      out.Put(raw);
      return false;
    }
    PutKeys(keys, out);
    return true;
  }

  bool PutOther(char32_t c, Sink& out) const {
    if (IsDevanagari(c)) {
      if (Spelled(c).empty()) return false;
      PutKeys(Spelled(c), out);
      return true;
    }
    const auto it = keys_.other.find(c);
    if (it == keys_.other.end()) return false;
    PutKeys(it->second, out);
    return true;
  }

  bool Other(char32_t c, Sink& out) {
    if (c <= ' ' || c == 0xA0) {
      out.Put(c);
      return true;
    }
    if (PutOther(c, out)) return true;
    if (c >= '0' && c <= '9' && PutOther(0x0966 + (c - '0'), out)) return true;
    if (c == kDoubleDanda && !Spelled(kDanda).empty()) {
      PutKeys(Spelled(kDanda), out);
      PutKeys(Spelled(kDanda), out);
      return true;
    }
    // Straight quotes take the curly glyphs, opening and closing in turn.
    if (c == '"' || c == '\'') {
      bool& open = c == '"' ? doubleOpen_ : singleOpen_;
      const char32_t curly = c == '"' ? (open ? 0x201D : 0x201C) : (open ? 0x2019 : 0x2018);
      if (PutOther(curly, out)) {
        open = !open;
        return true;
      }
    }
    if (c == 0x2013 && PutOther('-', out)) return true;  // the one dash typists have
    if (c == ':' && PutOther(kVisarga, out)) return true;
    out.Put(c);
    return false;
  }

  // A full letter with its nukta, and a visible virama when asked. What the
  // font cannot draw goes out as it came.
  void PutFull(const Letter& l, bool virama, Sink& out) const {
    PutOr(Full(l.cp), l.cp, out);
    if (l.nukta) PutOr(keys_.nukta, kNukta, out);
    if (virama) PutOr(keys_.virama, kVirama, out);
  }

  // Writes letters [i, end) of the cluster. lastStart tells where the final
  // letter's own keys begin in out, when it was written alone.
  void PutLetters(int i, int end, Sink& out, std::size_t& lastStart) const {
    lastStart = std::string::npos;
    while (i < end) {
      const Letter& l = cl_.letters[i];
      if (l.joined && (l.zwj || l.rra) && l.cp == kRa && !keys_.eyelash.empty()) {
        PutKeys(keys_.eyelash, out);
        ++i;
        continue;
      }
      if (i == end - 1) {
        if (!l.joined) lastStart = out.size();
        // A virama that ends the word is written visibly, as typists do,
        // unless a ZWJ asks for the half form.
        if (l.joined && l.zwj && !Half(l.cp).empty()) PutKeys(Half(l.cp), out);
        else PutFull(l, l.joined, out);
        ++i;
        continue;
      }
      const Letter& n = cl_.letters[i + 1];
      const bool nEnds = i + 1 == end - 1 && !n.joined;
      const bool plain = !l.nukta && !l.zwj && !l.zwnj && !l.rra;
      if (plain && n.cp == kRa && !n.nukta && !n.rra && nEnds) {
        if (const Keys* key = Find(keys_.pair, l.cp, kRa)) {
          PutKeys(*key, out);  // त्र, श्र, द्र and ध्र have keys of their own
        } else if (l.cp == kPha && keys_.full[kPha - 0x0900].empty() && !Full(kPha).empty()) {
          // फ्र: the rakar goes under प's stem, the hook after it.
          PutKeys(keys_.full[kPa - 0x0900], out);
          PutKeys(keys_.rakar, out);
          PutKeys(keys_.hook, out);
        } else {
          PutFull(l, false, out);
          PutKeys(Retroflex(l.cp) ? keys_.rakarRetroflex : keys_.rakar, out);
        }
        i += 2;
        continue;
      }
      if (plain && !n.nukta && !n.rra && !n.zwj && !n.zwnj) {
        const Keys* key = nullptr;
        Keys built;
        if (nEnds) {
          key = Find(keys_.pair, l.cp, n.cp);
          const Keys* halfPair = Find(keys_.pairHalf, l.cp, n.cp);
          const Keys& aa = keys_.devanagari[kAa - 0x0900];
          if (!key && halfPair && !aa.empty()) {  // क्ष is its half form and the ा stroke
            built = *halfPair;
            built += aa;
            key = &built;
          }
        } else if (n.joined && i + 1 < end - 1) {
          key = Find(keys_.pairHalf, l.cp, n.cp);
        }
        if (key) {
          PutKeys(*key, out);
          i += 2;
          continue;
        }
      }
      if (l.zwnj) {
        PutFull(l, true, out);
        ++i;
        continue;
      }
      if (n.cp == kYa && !n.nukta && nEnds && !l.zwj && Half(l.cp).empty() && !keys_.yaPhala.empty()) {
        PutFull(l, false, out);
        PutKeys(keys_.yaPhala, out);
        i += 2;
        continue;
      }
      if (!Half(l.cp).empty()) {
        PutKeys(Half(l.cp), out);
        if (l.nukta) PutOr(keys_.nukta, kNukta, out);
      } else {
        PutFull(l, true, out);
      }
      ++i;
    }
  }

  void Close(Sink& out) {
    if (!cl_.active) return;
    cl_.active = false;
    std::size_t lastStart = std::string::npos;
    bool reph = false;
    if (cl_.vowel != 0) {
      PutOr(Spelled(cl_.vowel), cl_.vowel, out);
    } else {
      const Letter& first = cl_.letters[0];
      reph = cl_.letterCount >= 2 && first.cp == kRa && first.joined && !first.zwj && !first.zwnj &&
             !first.rra && !first.nukta && !keys_.reph.empty();
      if (cl_.hasSign(kIKar)) PutOr(Spelled(kIKar), kIKar, out);
      PutLetters(reph ? 1 : 0, cl_.letterCount, out, lastStart);
    }
    const Letter* last = cl_.letterCount > 0 ? &cl_.letters[cl_.letterCount - 1] : nullptr;
    for (int i = 0; i < cl_.signCount; ++i) {
      const char32_t s = cl_.signs[i];
      if (s == kIKar) continue;
      // रु, रू and हृ are glyphs of their own.
      if (lastStart != std::string::npos && !last->nukta) {
        if (const Keys* key = Find(keys_.withSign, last->cp, s)) {
          out.Truncate(lastStart);
          PutKeys(*key, out);
          lastStart = std::string::npos;
          continue;
        }
      }
      PutOr(Spelled(s), s, out);
    }
    if (cl_.candrabindu) PutOr(Spelled(kCandrabindu), kCandrabindu, out);
    else if (cl_.anusvara) PutOr(Spelled(kAnusvara), kAnusvara, out);
    if (cl_.visarga) PutOr(Spelled(kVisarga), kVisarga, out);
    if (reph) PutKeys(keys_.reph, out);
  }

  const ReverseKeys& keys_;
  const Spelt& spelt_;
  Cluster cl_;
  bool doubleOpen_ = false;
  bool singleOpen_ = false;
};

}  // namespace

std::unique_ptr<Machine> MakeToLegacy(const Options& options) {
  return std::make_unique<ToLegacyMachine>(options);
}

}  // namespace lk::convert
