#include "commands/convert_selection.h"

#include "convert/font_tables.h"
#include "documents/document_file.h"
#include "documents/rtf.h"
#include "text/utf8.h"

namespace lk::commands {
namespace {

using convert::Direction;
using convert::LegacyFont;

constexpr platform::BoxStyle kInformation{platform::BoxKind::kInformation};

// A character that only legacy text holds: a code above ASCII that the
// font draws as Devanagari. Latin letters, quotes, dashes and bullets are
// not: Unicode text is full of them.
bool LegacyOnly(char32_t c, const convert::FontTable& table) {
  switch (c) {
    case 0x00A0: case 0x2013: case 0x2014: case 0x2018: case 0x2019: case 0x201A:
    case 0x201C: case 0x201D: case 0x201E: case 0x2022: case 0x2026:
      return false;
    default:
      break;
  }
  const int code = convert::LegacyCode(c);
  if (code < 0x80) return false;
  for (char32_t unit : table.glyphs[code].view())
    if (convert::IsDevanagari(unit) || unit >= convert::kRephMark) return true;
  return false;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Where the last \par of an RTF text stands, when nothing but group ends,
// blanks and control words (no text) follow it.
std::optional<std::size_t> FinalParagraphMark(std::string_view rtf) {
  for (std::size_t at = rtf.rfind("\\par"); at != std::string_view::npos;
       at = at == 0 ? std::string_view::npos : rtf.rfind("\\par", at - 1)) {
    std::size_t backslashes = 0;
    while (backslashes < at && rtf[at - 1 - backslashes] == '\\') ++backslashes;
    if (backslashes % 2 == 1 || (at + 4 < rtf.size() && IsLetter(rtf[at + 4]))) continue;
    for (std::size_t i = at + 4; i < rtf.size();) {
      const char c = rtf[i];
      if (c == '}' || c == ' ' || c == '\r' || c == '\n') {
        ++i;
      } else if (c == '\\' && i + 1 < rtf.size() && IsLetter(rtf[i + 1])) {
        i += 2;
        while (i < rtf.size() && (IsLetter(rtf[i]) || rtf[i] == '-' || (rtf[i] >= '0' && rtf[i] <= '9'))) ++i;
      } else {
        return std::nullopt;  // text after it: a paragraph mark inside the selection
      }
    }
    return at;
  }
  return std::nullopt;
}

bool EndsWithLineBreak(std::string_view text) { return !text.empty() && (text.back() == '\n' || text.back() == '\r'); }

// RichEdit writes the document's last paragraph mark into the RTF of a
// selection that reaches the end, though its plain text ends without a line
// break; pasted back, that mark would add an empty paragraph each time.
void DropFinalParagraphMark(std::string& rtf, std::string& plain) {
  const auto at = FinalParagraphMark(rtf);
  if (!at) return;
  rtf.erase(*at, 4);
  if (plain.size() >= 2 && plain.compare(plain.size() - 2, 2, "\r\n") == 0) plain.resize(plain.size() - 2);
}

}  // namespace

LegacyFont ConversionFont(std::string_view chosenFont, const settings::SettingsStore& store) {
  if (auto font = convert::LegacyFontByName(chosenFont)) return *font;
  const std::string configured = settings::ReadSetting(store, kConvertSection, "LegacyFont", "Preeti");
  if (auto font = convert::LegacyFontByName(configured)) return *font;
  return LegacyFont::kPreeti;
}

std::string AutomationFontAfter(Direction direction, LegacyFont font, const settings::SettingsStore& store) {
  if (direction == Direction::kToLegacy) return std::string(convert::LegacyFontName(font));
  return settings::ReadSetting(store, kConvertSection, "UnicodeFont", "Nirmala UI");
}

std::optional<platform::OfficeApplication> OfficeApplicationOf(std::string_view windowClass) {
  if (windowClass == "OpusApp") return platform::OfficeApplication::kWord;
  if (windowClass == "XLMAIN") return platform::OfficeApplication::kExcel;
  return std::nullopt;
}

bool TakesRichText(std::string_view windowClass) { return windowClass != "XLMAIN"; }

std::optional<ConversionOutcome> ConvertRichSelection(std::string_view rtf, std::string_view selection,
                                                      Direction direction, LegacyFont font,
                                                      const std::string& unicodeFont) {
  documents::ConvertSettings settings;
  settings.direction = direction;
  settings.options.font = font;
  settings.unicodeFont = unicodeFont;
  documents::RtfResult result;
  try {
    result = documents::ConvertRtf(rtf, settings);
  } catch (const documents::DocumentError&) {
    return std::nullopt;
  }
  ConversionOutcome outcome;
  // Only what would change counts: English in Arial beside Preeti neither
  // makes the selection Unicode nor is there to convert.
  if (direction == Direction::kToUnicode && !result.sawLegacyRuns) {
    outcome.message = result.sawDevanagari
                          ? Message{"The selection is already Unicode text.", kInformation}
                          : Message{"The selection holds no text in a legacy font.", kInformation};
    return outcome;
  }
  if (direction == Direction::kToLegacy && !result.sawDevanagari) {
    outcome.message = Message{"The selection holds no Unicode Devanagari.", kInformation};
    return outcome;
  }
  if (!EndsWithLineBreak(selection)) DropFinalParagraphMark(result.rtf, result.plainText);
  outcome.paste = std::move(result.plainText);
  outcome.pasteRtf = std::move(result.rtf);
  if (result.tally.unconverted > 0)
    outcome.message = Message{convert::UnconvertedText(result.tally.unconverted) + ".", kInformation};
  return outcome;
}

ConversionOutcome ConvertSelection(std::string_view selection, Direction direction, LegacyFont font) {
  ConversionOutcome outcome;
  bool devanagari = false;
  bool legacyOnly = false;
  const convert::FontTable& table = convert::TableFor(font);
  for (std::size_t pos = 0; pos < selection.size() && !(devanagari && legacyOnly);) {
    if (static_cast<unsigned char>(selection[pos]) < 0x80) {
      ++pos;
      continue;
    }
    char32_t c = 0;
    const std::size_t length = text::DecodeUtf8(selection, pos, c);
    pos += length == 0 ? 1 : length;
    if (convert::IsDevanagari(c)) devanagari = true;
    else if (!legacyOnly && LegacyOnly(c, table)) legacyOnly = true;
  }
  if (direction == Direction::kToUnicode && devanagari && !legacyOnly) {
    outcome.message = Message{"The selection is already Unicode text.", kInformation};
    return outcome;
  }
  if (direction == Direction::kToLegacy && !devanagari) {
    outcome.message = Message{"The selection holds no Unicode Devanagari.", kInformation};
    return outcome;
  }
  convert::Options options;
  options.font = font;
  convert::Unconverted unconverted;
  outcome.paste = direction == Direction::kToUnicode ? convert::ToUnicode(selection, options, &unconverted)
                                                     : convert::ToLegacy(selection, options, &unconverted);
  if (unconverted.count > 0) {
    outcome.message = Message{convert::UnconvertedText(unconverted.count) + ".", kInformation};
  }
  return outcome;
}

}  // namespace lk::commands
