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

std::optional<ConversionOutcome> ConvertRichSelection(std::string_view rtf, Direction direction, LegacyFont font,
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
