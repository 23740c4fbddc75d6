// Legacy text to Unicode. A legacy typist types what the font draws, left to
// right: ि before the cluster it belongs to, reph after the syllable it sits
// on, the hook after the letter it changes, vowel signs on half forms. The
// machine keeps the syllable being typed and writes it out in Unicode's
// logical order once the next syllable begins.
#include <array>

#include "convert/devanagari_facts.h"
#include "convert/font_tables.h"
#include "convert/machine.h"

namespace lk::convert {
namespace {

struct Letter {
  char32_t cp = 0;
  bool nukta = false;
  bool joined = false;  // a virama follows: a half form
  bool zwj = false;     // eyelash RA
  bool post = false;    // rakar or ya-phala, typed after the letter it hangs on
};

struct Syllable {
  bool active = false;
  bool reph = false;
  bool iKar = false;
  char32_t vowel = 0;  // the independent vowel that starts it, if any
  std::array<Letter, 12> letters;
  int letterCount = 0;
  std::array<char32_t, 4> signs{};
  int signCount = 0;
  bool candrabindu = false, anusvara = false, visarga = false;

  bool hasLetters() const { return letterCount > 0; }
  Letter& last() { return letters[letterCount - 1]; }
  // A half form ends it: the next consonant belongs to the same cluster.
  bool open() const { return letterCount > 0 && letters[letterCount - 1].joined; }
  // Only an i-kar or a reph typed before the cluster they belong to.
  bool pending() const { return active && letterCount == 0 && vowel == 0; }
  bool hasSign(char32_t s) const {
    for (int i = 0; i < signCount; ++i)
      if (signs[i] == s) return true;
    return false;
  }
  void dropSign(char32_t s) {
    int kept = 0;
    for (int i = 0; i < signCount; ++i)
      if (signs[i] != s) signs[kept++] = signs[i];
    signCount = kept;
  }
  void Start() {
    active = true;
    reph = iKar = false;
    vowel = 0;
    letterCount = signCount = 0;
    candrabindu = anusvara = visarga = false;
  }
};

// What one unit of a glyph does to the syllable being typed, worked out
// once per font instead of once per character.
enum class Kind : std::uint8_t {
  kConsonant, kEyelash, kVirama, kIKar, kSign, kModifier, kNukta, kReph, kVowel, kAvagraha, kOther
};

struct Op {
  char32_t cp = 0;
  Kind kind = Kind::kOther;
  bool post = false;  // a rakar or ya-phala: it hangs on the letter before it
};

struct CodeOps {
  std::array<Op, 4> ops;
  std::uint8_t count = 0;  // 0: the font draws nothing at the code
  bool danda = false;
  bool hook = false;
};

Kind KindOf(char32_t u) {
  if (IsConsonant(u)) return Kind::kConsonant;
  if (u == kEyelashMark) return Kind::kEyelash;
  if (u == kVirama) return Kind::kVirama;
  if (u == kIKar) return Kind::kIKar;
  if (IsVowelSign(u)) return Kind::kSign;
  if (IsModifier(u)) return Kind::kModifier;
  if (u == kNukta) return Kind::kNukta;
  if (u == kRephMark) return Kind::kReph;
  if (IsIndependentVowel(u)) return Kind::kVowel;
  if (u == kAvagraha) return Kind::kAvagraha;
  return Kind::kOther;
}

using CodeTable = std::array<CodeOps, 256>;

// What every code of a font does, worked out once per font rather than at
// every conversion.
CodeTable Codes(const FontTable& table) {
  CodeTable codes;
  for (int code = 0; code < 256; ++code) {
    const std::u32string_view units = table.glyphs[code].view();
    CodeOps& co = codes[code];
    co.count = static_cast<std::uint8_t>(units.size());
    co.danda = units.size() == 1 && units[0] == kDanda;
    co.hook = units.size() == 1 && units[0] == kHookMark;
    for (std::size_t i = 0; i < units.size(); ++i) {
      co.ops[i].cp = units[i];
      co.ops[i].kind = KindOf(units[i]);
      co.ops[i].post = i > 0 && units[i - 1] == kVirama && (units[i] == kRa || units[i] == kYa);
    }
  }
  return codes;
}

const CodeTable& CodesOf(LegacyFont font) {
  static const auto all = [] {
    std::array<CodeTable, std::size(kAllLegacyFonts)> codes;
    for (const LegacyFont f : kAllLegacyFonts) codes[static_cast<int>(f)] = Codes(TableFor(f));
    return codes;
  }();
  return all[static_cast<int>(font)];
}

class ToUnicodeMachine final : public MachineOf<ToUnicodeMachine> {
 public:
  explicit ToUnicodeMachine(const Options& options)
      : ops_(CodesOf(options.font)), rraEyelash_(options.eyelash == Eyelash::kRra) {}

  bool Push(char32_t c, Sink& out) {
    const int code = c < 0x20 || c == 0xFEFF ? -1 : LegacyCode(c);
    const CodeOps* co = code < 0 ? nullptr : &ops_[code];
    if (pendingDanda_ && !(co && co->danda)) FlushDanda(out);
    if (c < 0x20 || c == 0xFEFF) {
      Close(out);
      out.Put(c);
      return true;
    }
    if (co == nullptr || co->count == 0) return PassThrough(c, out);
    if (co->danda) {
      Close(out);
      // Two dandas typed side by side are the double danda.
      if (pendingDanda_) {
        pendingDanda_ = false;
        out.Put(kDoubleDanda);
      } else {
        pendingDanda_ = true;
      }
      return true;
    }
    if (co->hook) return Hook(c, out);
    for (std::uint8_t i = 0; i < co->count; ++i) Unit(co->ops[i], out);
    return true;
  }

  void Finish(Sink& out) override {
    Close(out);
    FlushDanda(out);
  }

 private:
  // The reph's curl or the hook typed after a vowel letter they complete
  // (इ ई, उ ऊ).
  bool TakeMark(char32_t mark) {
    for (const TwoPart& p : kTwoParts) {
      if (p.first == syl_.vowel && p.second == mark) {
        syl_.vowel = p.whole;
        return true;
      }
    }
    return false;
  }

  void FlushDanda(Sink& out) {
    if (!pendingDanda_) return;
    pendingDanda_ = false;
    out.Put(kDanda);
  }

  bool PassThrough(char32_t c, Sink& out) {
    Close(out);
    out.Put(c);
    return false;
  }

  void AddLetter(const Letter& letter, Sink& out) {
    const bool joins = syl_.active && (syl_.open() || syl_.pending());
    if (!joins || syl_.letterCount == static_cast<int>(syl_.letters.size())) {
      Close(out);
      syl_.Start();
    }
    syl_.letters[syl_.letterCount++] = letter;
  }

  // A virama or nukta belongs to the letter before it in the syllable; with
  // none there it stands alone, as typed.
  void MarkLastLetter(bool Letter::*mark, char32_t u, Sink& out) {
    if (syl_.active && syl_.hasLetters()) {
      syl_.last().*mark = true;
    } else {
      Close(out);
      out.Put(u);
    }
  }

  void Unit(const Op& op, Sink& out) {
    const char32_t u = op.cp;
    switch (op.kind) {
      case Kind::kConsonant:
        AddLetter(Letter{.cp = u, .post = op.post}, out);
        return;
      case Kind::kEyelash:
        if (rraEyelash_) AddLetter(Letter{.cp = kRra, .joined = true}, out);
        else AddLetter(Letter{.cp = kRa, .joined = true, .zwj = true}, out);
        return;
      case Kind::kVirama:
        MarkLastLetter(&Letter::joined, u, out);
        return;
      case Kind::kIKar:
        if (!(syl_.active && (syl_.open() || syl_.pending()))) {
          Close(out);
          syl_.Start();
        }
        syl_.iKar = true;
        return;
      case Kind::kSign:
        VowelSign(u, out);
        return;
      case Kind::kModifier:
        Modifier(u, out);
        return;
      case Kind::kNukta:
        MarkLastLetter(&Letter::nukta, u, out);
        return;
      case Kind::kReph:
        Reph(out);
        return;
      case Kind::kVowel:
        Close(out);
        syl_.Start();
        syl_.vowel = u;
        return;
      case Kind::kAvagraha:
        if (syl_.active && syl_.hasLetters() && syl_.last().cp == 0x0932 && syl_.last().joined) {
          syl_.last().joined = false;  // ल् and ऽ side by side draw ल
          return;
        }
        break;
      case Kind::kOther:
        break;
    }
    Close(out);
    out.Put(u);
  }

  void VowelSign(char32_t u, Sink& out) {
    if (!syl_.active) {
      out.Put(u);
      return;
    }
    if (syl_.hasLetters()) {
      Letter& last = syl_.last();
      // The stem of ा completes a half form: 0f is ण, if is ष.
      if (u == kAa && last.joined && !last.zwj) {
        last.joined = false;
        return;
      }
      // Typists draw ट्ट as ट with ृ under it.
      if (u == kVocalicR && last.cp == 0x091F && !last.joined && !last.nukta && syl_.signCount == 0 &&
          syl_.letterCount < static_cast<int>(syl_.letters.size())) {
        last.joined = true;
        syl_.letters[syl_.letterCount++] = Letter{.cp = 0x091F};
        return;
      }
    }
    if (syl_.hasSign(u)) return;
    if (syl_.signCount == static_cast<int>(syl_.signs.size())) return;
    syl_.signs[syl_.signCount++] = u;
  }

  void Modifier(char32_t u, Sink& out) {
    const bool hasBase = syl_.active && (syl_.hasLetters() || syl_.vowel != 0);
    if (!hasBase) {
      Close(out);
      // ः with nothing to sit on is the colon it looks like.
      out.Put(u == kVisarga ? U':' : u);
      return;
    }
    if (u == kCandrabindu) syl_.candrabindu = true;
    else if (u == kAnusvara) syl_.anusvara = true;
    else syl_.visarga = true;
  }

  void Reph(Sink& out) {
    if (syl_.active && (syl_.hasLetters() || syl_.pending())) {
      syl_.reph = true;
      return;
    }
    if (syl_.active && TakeMark(kRephMark)) return;
    // No cluster to sit on (a vowel letter, or nothing before it): the
    // nearest Unicode is RA and virama where it was typed.
    Close(out);
    out.Put(kRa);
    out.Put(kVirama);
  }

  bool Hook(char32_t c, Sink& out) {
    if (syl_.active && TakeMark(kHookMark)) return true;
    if (syl_.active && syl_.hasLetters()) {
      int i = syl_.letterCount - 1;
      while (i > 0 && syl_.letters[i].post) --i;
      Letter& letter = syl_.letters[i];
      if (!letter.nukta) {
        if (const char32_t hooked = HookedOf(letter.cp)) {
          letter.cp = hooked;
          return true;
        }
        if (letter.cp == 0x0924) {
          if (i + 1 < syl_.letterCount && syl_.letters[i + 1].post && syl_.letters[i + 1].cp == kRa) {
            letter.cp = 0x0915;  // त्र → क्र
            return true;
          }
          if (i > 0 && syl_.letters[i - 1].cp == 0x0924 && syl_.letters[i - 1].joined) {
            syl_.letters[i - 1].cp = 0x0915;  // त्त → क्त
            return true;
          }
        }
      }
    }
    return PassThrough(c, out);
  }

  void PutLetter(const Letter& letter, Sink& out) {
    const char32_t composed = letter.nukta ? ComposedNukta(letter.cp) : 0;
    if (composed != 0) {
      out.Put(composed);
    } else {
      out.Put(letter.cp);
      if (letter.nukta) out.Put(kNukta);
    }
    if (letter.joined) {
      out.Put(kVirama);
      if (letter.zwj) out.Put(kZwj);
    }
  }

  void PutSigns(Sink& out) {
    if (syl_.hasSign(kAa)) {
      // ा with े, ै or ॅ, in either typed order, is one sign.
      for (const TwoPart& sign : kTwoParts) {
        if (sign.first == kAa && syl_.hasSign(sign.second)) {
          syl_.dropSign(kAa);
          for (int i = 0; i < syl_.signCount; ++i)
            if (syl_.signs[i] == sign.second) syl_.signs[i] = sign.whole;
          break;
        }
      }
    }
    if (syl_.iKar) out.Put(kIKar);
    for (int i = 0; i < syl_.signCount; ++i) out.Put(syl_.signs[i]);
    if (syl_.candrabindu) out.Put(kCandrabindu);
    else if (syl_.anusvara) out.Put(kAnusvara);
    if (syl_.visarga) out.Put(kVisarga);
  }

  void Close(Sink& out) {
    if (!syl_.active) return;
    if (syl_.vowel != 0) {
      // अ, ा and े typed in turn are ओ: each sign that completes a vowel
      // letter is taken into it, one at a time.
      for (bool grew = true; grew;) {
        grew = false;
        for (const TwoPart& p : kTwoParts) {
          if (p.first == syl_.vowel && syl_.hasSign(p.second)) {
            syl_.dropSign(p.second);
            syl_.vowel = p.whole;
            grew = true;
            break;
          }
        }
      }
      out.Put(syl_.vowel);
    } else {
      if (syl_.reph) {
        out.Put(kRa);
        out.Put(kVirama);
      }
      for (int i = 0; i < syl_.letterCount; ++i) PutLetter(syl_.letters[i], out);
    }
    PutSigns(out);
    syl_.active = false;
  }

  const CodeTable& ops_;
  bool rraEyelash_;
  Syllable syl_;
  bool pendingDanda_ = false;
};

}  // namespace

std::unique_ptr<Machine> MakeToUnicode(const Options& options) { return std::make_unique<ToUnicodeMachine>(options); }

}  // namespace lk::convert
