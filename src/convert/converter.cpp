#include "convert/converter.h"

#include <array>
#include <memory>

#include "convert/machine.h"
#include "text/cp1252.h"
#include "text/utf8.h"

namespace lk::convert {

struct Converter::State {
  std::unique_ptr<Machine> machine;
  Tally tally;
  std::string partial;  // the start of a UTF-8 sequence split between pieces
  // Decoded characters wait here and go to the machine a stretch at a time.
  std::array<char32_t, 4096> decoded;
  std::size_t count = 0;

  void Take(char32_t c, Sink& out) {
    decoded[count++] = c;
    if (count == decoded.size()) Flush(out);
  }
  void Flush(Sink& out) {
    machine->Run({decoded.data(), count}, out, tally);
    count = 0;
  }
};

Converter::Converter(Direction direction, const Options& options) : state_(new State) {
  state_->machine = direction == Direction::kToUnicode ? MakeToUnicode(options) : MakeToLegacy(options);
}

Converter::~Converter() { delete state_; }

namespace {

// Whether bytes begin a UTF-8 sequence that more bytes could complete.
bool IncompletePrefix(std::string_view bytes) {
  const unsigned char lead = static_cast<unsigned char>(bytes[0]);
  const std::size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (bytes.size() >= need) return false;
  char32_t cp;
  for (char pad : {'\x80', '\xBF'}) {
    std::string padded(bytes);
    padded.resize(need, pad);
    if (text::DecodeUtf8(padded, 0, cp) == need) return true;
  }
  return false;
}

}  // namespace

// Pieces may split a sequence anywhere; the result is the same as for the
// whole text, where each byte that is not UTF-8 becomes one U+FFFD.
void Converter::Feed(std::string_view utf8, std::string& target) {
  State& s = *state_;
  Sink out(target);
  std::size_t pos = 0;
  char32_t cp;
  if (!s.partial.empty()) {
    const std::size_t held = s.partial.size();
    std::string head = s.partial;
    head.append(utf8.substr(0, 4 - held));
    const std::size_t length = text::DecodeUtf8(head, 0, cp);
    if (length > 0) {
      s.Take(cp, out);
      pos = length - held;
      s.partial.clear();
    } else if (IncompletePrefix(head)) {
      s.partial = std::move(head);
      s.Flush(out);
      return;
    } else {
      for (std::size_t i = 0; i < held; ++i) s.Take(text::kReplacement, out);
      s.partial.clear();
    }
  }
  while (pos < utf8.size()) {
    const unsigned char lead = static_cast<unsigned char>(utf8[pos]);
    if (lead < 0x80) {
      s.Take(lead, out);
      ++pos;
      continue;
    }
    const std::size_t length = text::DecodeUtf8(utf8, pos, cp);
    if (length > 0) {
      s.Take(cp, out);
      pos += length;
    } else if (IncompletePrefix(utf8.substr(pos))) {
      s.partial.assign(utf8.substr(pos));
      s.Flush(out);
      return;
    } else {
      s.Take(text::kReplacement, out);
      ++pos;
    }
  }
  s.Flush(out);
}

void Converter::Finish(std::string& target) {
  State& s = *state_;
  Sink out(target);
  for (std::size_t i = 0; i < s.partial.size(); ++i) s.Take(text::kReplacement, out);
  s.partial.clear();
  s.Flush(out);
  out.MakeRoom();
  s.machine->Finish(out);
}

const Unconverted& Converter::unconverted() const { return state_->tally.unconverted; }

namespace {

std::string Run(Direction direction, std::string_view text, const Options& options, Unconverted* unconverted) {
  Converter converter(direction, options);
  std::string out;
  // Legacy text is mostly ASCII and its Devanagari takes three bytes a
  // character; the other way the text shrinks. Growing a large string step
  // by step costs more than the conversion on some heaps (Wine's).
  out.reserve(direction == Direction::kToUnicode ? text.size() * 3 + 16 : text.size() + 16);
  converter.Feed(text, out);
  converter.Finish(out);
  if (unconverted) *unconverted = converter.unconverted();
  return out;
}

}  // namespace

std::string ToUnicode(std::string_view legacyUtf8, const Options& options, Unconverted* unconverted) {
  return Run(Direction::kToUnicode, legacyUtf8, options, unconverted);
}

std::string ToLegacy(std::string_view unicodeUtf8, const Options& options, Unconverted* unconverted) {
  return Run(Direction::kToLegacy, unicodeUtf8, options, unconverted);
}

std::string UnconvertedText(std::uint64_t count) {
  return count == 1 ? "1 character had no equivalent and was left as it was"
                    : std::to_string(count) + " characters had no equivalent and were left as they were";
}

std::string LegacyBytesToUnicode(std::string_view cp1252, const Options& options, Unconverted* unconverted) {
  return ToUnicode(text::Cp1252ToUtf8(cp1252), options, unconverted);
}

std::string UnicodeToLegacyBytes(std::string_view unicodeUtf8, const Options& options, Unconverted* unconverted) {
  std::string bytes;
  for (char32_t c : text::Utf8ToUtf32(ToLegacy(unicodeUtf8, options, unconverted))) {
    const int code = text::Cp1252CodeOf(c);
    bytes.push_back(code < 0 ? '?' : static_cast<char>(code));
  }
  return bytes;
}

}  // namespace lk::convert
