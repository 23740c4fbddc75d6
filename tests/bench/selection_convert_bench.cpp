// The toolbar's own share of converting a large selection: from the captured
// text to the converted text offered on the clipboard. The target is the
// scripted platform's, which hands over its selection and takes the paste at
// once, so what is timed is the toolbar's work alone; a real target's own
// clipboard handling (Wine's edit control is quadratic in the text's length)
// would swamp it.
//   lk_selection_convert_bench [megabytes] [runs]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "commands/command_runner.h"
#include "convert/converter.h"
#include "support/fake_platform.h"
#include "settings/settings_store.h"
#include "target_link/target_ui.h"
#include "text/utf8.h"

namespace {

class NoField : public lk::target_link::TargetUi {
 public:
  std::string TargetName() override { return {}; }
  void OpenSelectApplication() override {}
};

// Nepali prose of the given size: a fixed cycle of ordinary sentences.
std::string UnicodeText(std::size_t bytes) {
  static const char* const kSentences[] = {
      "नेपाल सरकारको प्रशासनिक कार्यालयमा आज बिहान बैठक बस्यो। ",
      "कर्मचारीहरूले आर्थिक वर्षको प्रतिवेदन प्रस्तुत गरे, र प्रमुखले सुझाव दिए। ",
      "विद्यार्थीहरूको परीक्षा २०८१ साल चैत्र १५ गतेदेखि सुरु हुनेछ। ",
      "हिमालको काखमा रहेको गाउँमा पर्‍यटकहरूको भीड बढ्दै गएको छ।\r\n",
  };
  std::string text;
  for (std::size_t i = 0; text.size() < bytes; ++i) text += kSentences[i % 4];
  return text;
}

// Word-like RTF of the given size: a run change every few words, every
// other run in the legacy family (or, the other way, in a Unicode font as
// \uN escapes), the rest English in Times New Roman; no pictures.
std::string RichText(std::size_t bytes, lk::convert::Direction direction) {
  static const char* const kNepali[] = {"नेपाल सरकारको ", "प्रशासनिक कार्यालयमा आज ", "बिहान बैठक बस्यो। ",
                                        "कर्मचारीहरूले प्रतिवेदन ", "हिमालको काखमा "};
  static const char* const kEnglish[] = {"the annual report ", "was presented ", "in the morning ",
                                         "by the staff ", "of the office "};
  const bool toUnicode = direction == lk::convert::Direction::kToUnicode;
  std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff1{\\fonttbl{\\f0\\fnil\\fcharset0 ";
  rtf += toUnicode ? "Preeti" : "Nirmala UI";
  rtf += ";}{\\f1\\froman\\fcharset0 Times New Roman;}}\r\n\\pard\\plain ";
  for (std::size_t i = 0; rtf.size() < bytes; ++i) {
    const std::string nepali = kNepali[i % 5];
    rtf += i % 3 == 0 ? "{\\f0\\b\\fs24 " : "{\\f0\\fs24 ";
    if (toUnicode) {
      static const char kHex[] = "0123456789abcdef";
      for (const char byte : lk::text::Utf8ToCp1252(lk::convert::ToLegacy(nepali))) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x80) rtf += {'\\', '\'', kHex[code >> 4], kHex[code & 15]};
        else if (byte == '\\' || byte == '{' || byte == '}') rtf += {'\\', byte};
        else rtf += byte;
      }
    } else {
      std::size_t pos = 0;
      for (char32_t c; pos < nepali.size();) {
        pos += lk::text::DecodeUtf8(nepali, pos, c);
        rtf += c < 0x80 ? std::string(1, static_cast<char>(c)) : "\\u" + std::to_string(c) + "?";
      }
    }
    rtf += "}{\\f1\\fs24 ";
    rtf += kEnglish[i % 5];
    rtf += i % 7 == 6 ? "}\\par\r\n" : "}";
  }
  return rtf + "}";
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const double megabytes = argc > 1 ? std::atof(argv[1]) : 1.0;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  // Each direction gets a selection of the size asked for in its own form.
  const auto bytes = static_cast<std::size_t>(megabytes * 1e6);
  const std::string unicode = UnicodeText(bytes);
  std::string legacy = lk::convert::ToLegacy(UnicodeText(bytes * 3));
  legacy.resize(legacy.rfind(' ', bytes) + 1);

  lk::platform::FakePlatform fake;
  constexpr lk::platform::WindowHandle kTarget = 10;
  fake.windows[kTarget] = {"Document - Stand-in", true, true, {}};
  fake.targets[kTarget].edit = 11;
  lk::settings::SettingsStore store("lk-bench-nonexistent/LK.ini");
  NoField field;
  lk::commands::CommandRunner runner(fake, store, field);

  std::printf("selection conversion, %.1f MB of selected text, median of %d runs\n", megabytes, runs);
  for (auto [direction, from, name] :
       {std::tuple{lk::convert::Direction::kToUnicode, static_cast<const std::string*>(&legacy), "to Unicode"},
        std::tuple{lk::convert::Direction::kToLegacy, &unicode, "to legacy"}}) {
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
      fake.targets[kTarget].selection = *from;
      fake.targets[kTarget].pasted.clear();
      const auto start = std::chrono::steady_clock::now();
      runner.ConvertWindow(kTarget, direction, "Preeti");
      ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
      if (fake.targets[kTarget].pasted.size() != 1) {
        std::printf("FAILED: the %s conversion pasted nothing\n", name);
        return 1;
      }
    }
    std::printf("  %-11s %8.1f ms  (%zu bytes selected, %zu pasted)\n", name, Median(ms), from->size(),
                fake.targets[kTarget].pasted.front().size());
  }

  std::printf("the same as rich text (RTF), %.1f MB of it, offered back as RTF and plain text\n", megabytes);
  for (auto [direction, name] : {std::pair{lk::convert::Direction::kToUnicode, "to Unicode"},
                                 std::pair{lk::convert::Direction::kToLegacy, "to legacy"}}) {
    const std::string rtf = RichText(bytes, direction);
    auto& target = fake.targets[kTarget];
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
      // The plain text the target copies beside it plays no part.
      target.selection = "selected";
      target.selectionFormats = {{0xC001, std::string(lk::platform::kRichTextFormat), {rtf.begin(), rtf.end()}}};
      target.pasted.clear();
      target.pastedRtf.clear();
      const auto start = std::chrono::steady_clock::now();
      runner.ConvertWindow(kTarget, direction, "Preeti");
      ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
      if (target.pastedRtf.size() != 1 || target.pastedRtf.front().empty()) {
        std::printf("FAILED: the rich %s conversion offered no RTF\n", name);
        return 1;
      }
    }
    std::printf("  %-11s %8.1f ms  (%zu bytes of RTF selected, %zu of RTF and %zu of text offered)\n", name,
                Median(ms), rtf.size(), target.pastedRtf.front().size(), target.pasted.front().size());
  }
  return 0;
}
