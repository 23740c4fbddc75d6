#include "convert/converter.h"

#include <array>
#include <memory>

#include "convert/machine.h"
#include "text/utf8.h"

namespace lk::convert {

struct Converter::State {
  std::unique_ptr<Machine> machine;
  Tally tally;
  // Each byte that is not UTF-8 becomes one U+FFFD, as the command line has
  // always counted them.
  text::Utf8Stream decoder{text::Utf8Faults::kEachByte};
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

// Default-initialised, not value-initialised: the stretch buffer is only
// read up to count, and zeroing it cost more than the conversion of the
// short texts an office file gives one converter each.
Converter::Converter(Direction direction, const Options& options) : state_(new State) {
  state_->machine = direction == Direction::kToUnicode ? MakeToUnicode(options) : MakeToLegacy(options);
}

Converter::~Converter() = default;

// Pieces may split a sequence anywhere; the result is the same as for the
// whole text.
void Converter::Feed(std::string_view utf8, std::string& target) {
  State& s = *state_;
  Sink out(target);
  s.decoder.Feed(utf8, [&s, &out](char32_t c, bool) {
    s.Take(c, out);
    return true;
  });
  s.Flush(out);
}

void Converter::Finish(std::string& target) {
  State& s = *state_;
  Sink out(target);
  s.decoder.Finish([&s, &out](char32_t c, bool) {
    s.Take(c, out);
    return true;
  });
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

}  // namespace lk::convert
