// Writes benchmark input for lekhopakar-convert: Unicode Nepali made of the
// hunspell-ne words strung into sentences with punctuation, digits and both
// kinds of line break, and the same sentences in a legacy font as the
// converter writes them, each file MEGABYTES (10^6 bytes) long or a paragraph
// more. The same arguments give the same bytes, so figures from two runs
// compare.
//   lk_convert_bench_text DIC MEGABYTES UNICODE_OUT LEGACY_OUT [FONT]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "convert/converter.h"
#include "convert/legacy_font.h"

namespace {

using lk::convert::Converter;
using lk::convert::Direction;

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {  // splitmix64
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }
  bool OneIn(std::size_t n) { return Below(n) == 0; }

 private:
  std::uint64_t state_;
};

std::vector<std::string> LoadWords(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> words;
  std::string line;
  std::getline(in, line);  // the entry count
  while (std::getline(in, line)) {
    std::string word = line.substr(0, line.find_first_of("/\t \r0123456789"));
    // A byte order mark left inside an entry is not part of any text.
    for (std::size_t at; (at = word.find("\xEF\xBB\xBF")) != std::string::npos;) word.erase(at, 3);
    if (!word.empty()) words.push_back(std::move(word));
  }
  return words;
}

std::string Number(Random& random) {
  static const char* const kDigits[] = {"०", "१", "२", "३", "४", "५", "६", "७", "८", "९"};
  std::string number;
  const std::size_t length = 1 + random.Below(4);
  for (std::size_t i = 0; i < length; ++i) number += kDigits[random.Below(10)];
  if (random.OneIn(8)) number += std::string(".") + kDigits[random.Below(10)];
  return number;
}

std::string Sentence(Random& random, const std::vector<std::string>& words) {
  std::string sentence;
  const std::size_t length = 4 + random.Below(12);
  for (std::size_t i = 0; i < length; ++i) {
    if (i > 0) sentence += random.OneIn(9) ? ", " : " ";
    if (random.OneIn(14)) {
      sentence += Number(random);
    } else if (random.OneIn(40)) {
      sentence += "‘" + words[random.Below(words.size())] + "’";
    } else {
      sentence += words[random.Below(words.size())];
    }
  }
  switch (random.Below(10)) {
    case 0: return sentence + "?";
    case 1: return sentence + "!";
    default: return sentence + "।";
  }
}

bool WriteAll(std::ofstream& out, const std::string& bytes) {
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5 || argc > 6) {
    std::cerr << "usage: lk_convert_bench_text DIC MEGABYTES UNICODE_OUT LEGACY_OUT [FONT]\n";
    return 2;
  }
  const long megabytes = std::strtol(argv[2], nullptr, 10);
  lk::convert::Options options;
  if (argc == 6) {
    const auto font = lk::convert::LegacyFontByName(argv[5]);
    if (!font) {
      std::cerr << "lk_convert_bench_text: unknown font " << argv[5] << "\n";
      return 2;
    }
    options.font = *font;
  }
  const std::vector<std::string> words = LoadWords(argv[1]);
  if (words.size() < 1000 || megabytes <= 0) {
    std::cerr << "lk_convert_bench_text: no dictionary at " << argv[1] << " or no size\n";
    return 1;
  }

  std::ofstream unicode(argv[3], std::ios::binary | std::ios::trunc);
  std::ofstream legacy(argv[4], std::ios::binary | std::ios::trunc);
  Random random(20240521);
  Converter converter(Direction::kToLegacy, options);
  const std::uint64_t target = static_cast<std::uint64_t>(megabytes) * 1000000;
  // Each file gets the size asked for: legacy text is shorter than its
  // Unicode, so it goes on with sentences the Unicode file no longer takes.
  std::uint64_t unicodeBytes = 0;
  std::uint64_t legacyBytes = 0;
  std::string paragraph;
  std::string converted;
  while (unicodeBytes < target || legacyBytes < target) {
    paragraph.clear();
    const std::size_t sentences = 1 + random.Below(6);
    for (std::size_t i = 0; i < sentences; ++i) {
      if (i > 0) paragraph += ' ';
      paragraph += Sentence(random, words);
    }
    // Text from Windows and from elsewhere mixed, as a user's files are.
    paragraph += random.OneIn(2) ? "\r\n" : "\n";
    if (random.OneIn(5)) paragraph += "\n";
    converted.clear();
    converter.Feed(paragraph, converted);
    if ((unicodeBytes < target && !WriteAll(unicode, paragraph)) ||
        (legacyBytes < target && !WriteAll(legacy, converted))) {
      std::cerr << "lk_convert_bench_text: cannot write the output files\n";
      return 1;
    }
    if (unicodeBytes < target) unicodeBytes += paragraph.size();
    if (legacyBytes < target) legacyBytes += converted.size();
  }
  unicode.close();
  legacy.close();
  if (!unicode || !legacy) {
    std::cerr << "lk_convert_bench_text: cannot write the output files\n";
    return 1;
  }
  return 0;
}
