// Unicode to legacy text: what a careful typist types so that the legacy
// font draws the same word. The machine gathers one orthographic cluster
// (reph, consonants joined by viramas, vowel signs, marks) and writes it in
// typed order: ि first, then the cluster with the font's ligature and
// half-form keys, the vowel signs, ं/ँ, and the reph last.
#include <array>

#include "convert/font_tables.h"
#include "convert/machine.h"
#include "text/cp1252.h"
#include "text/utf8.h"

namespace lk::convert {
namespace {

constexpr char32_t kIKar = 0x093F;
constexpr char32_t kAa = 0x093E;
constexpr char32_t kU = 0x0941;
constexpr char32_t kUu = 0x0942;
constexpr char32_t kE = 0x0947;
constexpr char32_t kAi = 0x0948;
constexpr char32_t kO = 0x094B;
constexpr char32_t kAu = 0x094C;
constexpr char32_t kCandraE = 0x0945;
constexpr char32_t kCandraO = 0x0949;
constexpr char32_t kCandrabindu = 0x0901;
constexpr char32_t kAnusvara = 0x0902;
constexpr char32_t kVisarga = 0x0903;
constexpr char32_t kDanda = 0x0964;
constexpr char32_t kDoubleDanda = 0x0965;

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

  Letter& last() { return letters[letterCount - 1]; }
  bool hasSign(char32_t s) const {
    for (int i = 0; i < signCount; ++i)
      if (signs[i] == s) return true;
    return false;
  }
  bool hasMarks() const { return signCount > 0 || candrabindu || anusvara || visarga; }
};

bool Retroflex(char32_t c) { return c >= 0x091F && c <= 0x0922; }

class ToLegacyMachine final : public Machine {
 public:
  explicit ToLegacyMachine(const Options& options) : keys_(TableFor(options.font).reverse) {}

  bool Push(char32_t c, std::string& out) override {
    if (c >= 0x0958 && c <= 0x095F) {  // precomposed nukta letters
      static constexpr char32_t kBase[] = {0x0915, 0x0916, 0x0917, 0x091C, 0x0921, 0x0922, 0x092B, 0x092F};
      return Consonant(kBase[c - 0x0958], false, out) && Nukta(out);
    }
    if (c == 0x0929) return Consonant(0x0928, false, out) && Nukta(out);
    if (c == 0x0934) return Consonant(0x0933, false, out) && Nukta(out);
    if (c == 0x0931) return Consonant(kRa, true, out);
    if (IsConsonant(c)) return Consonant(c, false, out);
    if (c == kVirama) return Virama(out);
    if (c == kNukta) return Nukta(out);
    if (c == kZwj || c == kZwnj) {
      if (cl_.active && cl_.letterCount > 0 && cl_.last().joined && !cl_.hasMarks()) {
        (c == kZwj ? cl_.last().zwj : cl_.last().zwnj) = true;
      }
      return true;
    }
    if (c == 0xFEFF) return true;
    if (c == kIKar || IsVowelSign(c)) return Sign(c, out);
    if (IsModifier(c)) return Mark(c, out);
    if (IsIndependentVowel(c)) {
      Close(out);
      cl_ = Cluster{};
      cl_.active = true;
      cl_.vowel = c;
      return VowelKeys(c, nullptr);
    }
    Close(out);
    return Other(c, out);
  }

  void Finish(std::string& out) override { Close(out); }

 private:
  static void PutCodes(const std::string& codes, std::string& out) {
    for (char code : codes) {
      const unsigned char byte = static_cast<unsigned char>(code);
      if (byte < 0x80) out.push_back(code);
      else text::AppendUtf8(out, text::Cp1252ToUnit(byte));
    }
  }

  bool PutSingle(char32_t c, std::string& out) {
    const auto it = keys_.single.find(c);
    if (it == keys_.single.end()) return false;
    PutCodes(it->second, out);
    return true;
  }

  const std::string* Find(const std::map<char32_t, std::string>& map, char32_t c) const {
    const auto it = map.find(c);
    return it == map.end() ? nullptr : &it->second;
  }
  const std::string* Find(const std::map<std::pair<char32_t, char32_t>, std::string>& map, char32_t a,
                          char32_t b) const {
    const auto it = map.find({a, b});
    return it == map.end() ? nullptr : &it->second;
  }

  // The keys for a full letter: its own key, or its half form and the ा
  // stroke that completes it (ण is 0f).
  bool FullKeys(char32_t c, std::string* codes) const {
    if (const std::string* full = Find(keys_.full, c)) {
      if (codes) *codes += *full;
      return true;
    }
    // फ and झ are प and भ with the hook after them.
    const char32_t hooked = c == 0x092B ? 0x092A : c == 0x091D ? 0x092D : 0;
    const std::string* base = hooked ? Find(keys_.full, hooked) : nullptr;
    if (base && !keys_.hook.empty()) {
      if (codes) *codes += *base + keys_.hook;
      return true;
    }
    const std::string* half = Find(keys_.half, c);
    const std::string* aa = Find(keys_.single, kAa);
    if (half && aa) {
      if (codes) *codes += *half + *aa;
      return true;
    }
    return false;
  }

  bool VowelKeys(char32_t v, std::string* codes) const {
    if (const std::string* key = Find(keys_.single, v)) {
      if (codes) *codes += *key;
      return true;
    }
    // Vowel letters the fonts build from others: आ is अ with ा, ई is इ with
    // the reph's curl, ऊ is उ with the hook.
    struct Spelling {
      char32_t vowel;
      char32_t base;
      char32_t sign1;
      char32_t sign2;
    };
    static constexpr Spelling kSpellings[] = {
        {0x0906, 0x0905, kAa, 0},      {0x0913, 0x0905, kAa, kE},       {0x0914, 0x0905, kAa, kAi},
        {0x0911, 0x0905, kAa, kCandraE}, {0x0910, 0x090F, kE, 0},       {0x0908, 0x0907, kRephMark, 0},
        {0x090A, 0x0909, kHookMark, 0},
    };
    for (const Spelling& s : kSpellings) {
      if (s.vowel != v) continue;
      std::string built;
      const std::string* base = Find(keys_.single, s.base);
      if (!base) return false;
      built += *base;
      for (char32_t sign : {s.sign1, s.sign2}) {
        if (sign == 0) continue;
        const std::string* key = sign == kRephMark   ? (keys_.reph.empty() ? nullptr : &keys_.reph)
                                 : sign == kHookMark ? (keys_.hook.empty() ? nullptr : &keys_.hook)
                                                     : Find(keys_.single, sign);
        if (!key) return false;
        built += *key;
      }
      if (codes) *codes += built;
      return true;
    }
    return false;
  }

  bool SignKeys(char32_t s, std::string* codes) const {
    if (const std::string* key = Find(keys_.single, s)) {
      if (codes) *codes += *key;
      return true;
    }
    const char32_t second = s == kO ? kE : s == kAu ? kAi : s == kCandraO ? kCandraE : 0;
    const std::string* aa = Find(keys_.single, kAa);
    const std::string* rest = second ? Find(keys_.single, second) : nullptr;
    if (!aa || !rest) return false;
    if (codes) *codes += *aa + *rest;
    return true;
  }

  bool Consonant(char32_t c, bool rra, std::string& out) {
    const bool joins = cl_.active && cl_.vowel == 0 && cl_.letterCount > 0 && cl_.last().joined &&
                       !cl_.hasMarks() && cl_.letterCount < static_cast<int>(cl_.letters.size());
    if (!joins) {
      Close(out);
      cl_ = Cluster{};
      cl_.active = true;
    }
    Letter letter;
    letter.cp = c;
    letter.rra = rra;
    letter.nukta = rra;  // ऱ is र with a nukta, unless a virama makes it eyelash RA
    cl_.letters[cl_.letterCount++] = letter;
    if (rra) return !keys_.eyelash.empty() || !keys_.nukta.empty();
    return FullKeys(c, nullptr) || Find(keys_.half, c) != nullptr;
  }

  bool Virama(std::string& out) {
    if (cl_.active && cl_.vowel == 0 && cl_.letterCount > 0 && !cl_.last().joined && !cl_.hasMarks()) {
      cl_.last().joined = true;
      return true;
    }
    Close(out);
    return PutKeysOr(keys_.virama, kVirama, out);
  }

  bool Nukta(std::string& out) {
    if (cl_.active && cl_.vowel == 0 && cl_.letterCount > 0 && !cl_.last().joined) {
      cl_.last().nukta = true;
      return !keys_.nukta.empty();
    }
    Close(out);
    return PutKeysOr(keys_.nukta, kNukta, out);
  }

  bool Sign(char32_t s, std::string& out) {
    if (!cl_.active) return PutSignAlone(s, out);
    if (!cl_.hasSign(s) && cl_.signCount < static_cast<int>(cl_.signs.size())) cl_.signs[cl_.signCount++] = s;
    return SignKeys(s, nullptr);
  }

  bool PutSignAlone(char32_t s, std::string& out) {
    std::string codes;
    if (!SignKeys(s, &codes)) {
      text::AppendUtf8(out, s);
      return false;
    }
    PutCodes(codes, out);
    return true;
  }

  bool PutSingleOr(char32_t c, std::string& out) {
    if (PutSingle(c, out)) return true;
    text::AppendUtf8(out, c);
    return false;
  }

  bool Mark(char32_t m, std::string& out) {
    if (!cl_.active) return PutSingleOr(m, out);
    (m == kCandrabindu ? cl_.candrabindu : m == kAnusvara ? cl_.anusvara : cl_.visarga) = true;
    return Find(keys_.single, m) != nullptr;
  }

  bool PutKeysOr(const std::string& codes, char32_t raw, std::string& out) {
    if (!codes.empty()) {
      PutCodes(codes, out);
      return true;
    }
    text::AppendUtf8(out, raw);
    return false;
  }

  bool Other(char32_t c, std::string& out) {
    if (c < 0x20 || c == ' ' || c == 0xA0) {
      out.push_back(static_cast<char>(c));
      if (c == 0xA0) {
        out.pop_back();
        text::AppendUtf8(out, c);
      }
      return true;
    }
    if (PutSingle(c, out)) return true;
    if (c >= '0' && c <= '9' && PutSingle(0x0966 + (c - '0'), out)) return true;
    if (c == kDoubleDanda && keys_.single.count(kDanda)) {
      PutSingle(kDanda, out);
      PutSingle(kDanda, out);
      return true;
    }
    // Straight quotes take the curly glyphs, opening and closing in turn.
    if (c == '"' || c == '\'') {
      bool& open = c == '"' ? doubleOpen_ : singleOpen_;
      const char32_t curly = c == '"' ? (open ? 0x201D : 0x201C) : (open ? 0x2019 : 0x2018);
      if (PutSingle(curly, out)) {
        open = !open;
        return true;
      }
    }
    if (c == 0x2013 && PutSingle('-', out)) return true;  // the one dash typists have
    if (c == ':' && PutSingle(kVisarga, out)) return true;
    text::AppendUtf8(out, c);
    return false;
  }

  // The keys for letters [i, end) of the cluster. lastStart tells where the
  // final letter's own keys begin in out when it was written alone.
  void PutLetters(int i, int end, std::string& out, std::size_t& lastStart) {
    lastStart = std::string::npos;
    while (i < end) {
      const Letter& l = cl_.letters[i];
      if (l.joined && (l.zwj || l.rra) && l.cp == kRa && !keys_.eyelash.empty()) {
        PutCodes(keys_.eyelash, out);
        ++i;
        continue;
      }
      if (i == end - 1) {
        if (!l.joined) lastStart = out.size();
        // A virama that ends the word is written visibly, as typists do.
        const std::string* half = l.joined && l.zwj ? Find(keys_.half, l.cp) : nullptr;
        if (half) PutCodes(*half, out);
        else PutFull(l, l.joined, out);
        ++i;
        continue;
      }
      const Letter& n = cl_.letters[i + 1];
      const bool nEnds = i + 1 == end - 1 && !n.joined;
      const bool plain = !l.nukta && !l.zwj && !l.zwnj && !l.rra;
      if (plain && n.cp == kRa && !n.nukta && !n.rra && nEnds) {
        if (const std::string* key = Find(keys_.pair, l.cp, kRa)) {
          PutCodes(*key, out);  // त्र, श्र, द्र and ध्र have keys of their own
        } else if (l.cp == 0x092B && !Find(keys_.full, l.cp) && Find(keys_.full, 0x092A) && !keys_.hook.empty()) {
          // फ्र: the rakar goes under प's stem, the hook after it.
          PutCodes(*Find(keys_.full, 0x092A) + keys_.rakar + keys_.hook, out);
        } else {
          PutFull(l, false, out);
          PutCodes(Retroflex(l.cp) ? keys_.rakarRetroflex : keys_.rakar, out);
        }
        i += 2;
        continue;
      }
      if (plain && !n.nukta && !n.rra && !n.zwj && !n.zwnj) {
        const std::string* key = nullptr;
        std::string built;
        if (i + 1 == end - 1 && !n.joined) {
          key = Find(keys_.pair, l.cp, n.cp);
          const std::string* halfPair = Find(keys_.pairHalf, l.cp, n.cp);
          const std::string* aa = Find(keys_.single, kAa);
          if (!key && halfPair && aa) {  // क्ष is its half form and the ा stroke
            built = *halfPair + *aa;
            key = &built;
          }
        } else if (n.joined && i + 1 < end - 1) {
          key = Find(keys_.pairHalf, l.cp, n.cp);
        }
        if (key) {
          PutCodes(*key, out);
          i += 2;
          continue;
        }
      }
      if (l.zwnj) {
        PutFull(l, true, out);
        ++i;
        continue;
      }
      if (n.cp == kYa && !n.nukta && nEnds && !l.zwj && !Find(keys_.half, l.cp) && !keys_.yaPhala.empty()) {
        PutFull(l, false, out);
        PutCodes(keys_.yaPhala, out);
        i += 2;
        continue;
      }
      if (const std::string* half = Find(keys_.half, l.cp)) {
        PutCodes(*half, out);
        if (l.nukta) PutKeysOr(keys_.nukta, kNukta, out);
      } else {
        PutFull(l, true, out);
      }
      ++i;
    }
  }

  // A full letter with its nukta, and a visible virama when asked. What the
  // font cannot draw goes out as it came.
  void PutFull(const Letter& l, bool virama, std::string& out) {
    std::string codes;
    if (FullKeys(l.cp, &codes)) PutCodes(codes, out);
    else text::AppendUtf8(out, l.cp);
    if (l.nukta) PutKeysOr(keys_.nukta, kNukta, out);
    if (virama) PutKeysOr(keys_.virama, kVirama, out);
  }

  void Close(std::string& out) {
    if (!cl_.active) return;
    cl_.active = false;
    if (cl_.vowel != 0) {
      std::string codes;
      if (VowelKeys(cl_.vowel, &codes)) PutCodes(codes, out);
      else text::AppendUtf8(out, cl_.vowel);
      PutSignsAndMarks(std::string::npos, out);
      return;
    }
    const Letter& first = cl_.letters[0];
    const bool reph = cl_.letterCount >= 2 && first.cp == kRa && first.joined && !first.zwj &&
                      !first.zwnj && !first.rra && !first.nukta && !keys_.reph.empty();
    if (cl_.hasSign(kIKar)) PutSignAlone(kIKar, out);
    std::size_t lastStart;
    PutLetters(reph ? 1 : 0, cl_.letterCount, out, lastStart);
    PutSignsAndMarks(lastStart, out);
    if (reph) PutCodes(keys_.reph, out);
  }

  void PutSignsAndMarks(std::size_t lastStart, std::string& out) {
    const Letter* last = cl_.letterCount > 0 ? &cl_.letters[cl_.letterCount - 1] : nullptr;
    for (int i = 0; i < cl_.signCount; ++i) {
      const char32_t s = cl_.signs[i];
      if (s == kIKar) continue;
      // रु, रू and हृ are glyphs of their own.
      if (lastStart != std::string::npos && last && !last->nukta) {
        if (const std::string* key = Find(keys_.withSign, last->cp, s)) {
          out.resize(lastStart);
          PutCodes(*key, out);
          lastStart = std::string::npos;
          continue;
        }
      }
      PutSignAlone(s, out);
    }
    if (cl_.candrabindu) PutSingleOr(kCandrabindu, out);
    else if (cl_.anusvara) PutSingleOr(kAnusvara, out);
    if (cl_.visarga) PutSingleOr(kVisarga, out);
  }

  const ReverseKeys& keys_;
  Cluster cl_;
  bool doubleOpen_ = false;
  bool singleOpen_ = false;
};

}  // namespace

std::unique_ptr<Machine> MakeToLegacy(const Options& options) { return std::make_unique<ToLegacyMachine>(options); }

}  // namespace lk::convert
