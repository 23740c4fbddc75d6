#pragma once
// The text work behind "Selection to Unicode" and "Selection to legacy font":
// which family the legacy side is, whether the selection is already in the
// asked-for form, the converted text and what to tell the user.
#include <optional>
#include <string>
#include <string_view>

#include "commands/edit_commands.h"
#include "convert/converter.h"
#include "settings/settings_store.h"

namespace lk::commands {

inline constexpr std::string_view kConvertSection = "Convert";

// The family chosen in the toolbar's font list when it is a legacy family
// the converter knows; otherwise LK.ini's choice; otherwise Preeti.
convert::LegacyFont ConversionFont(std::string_view chosenFont, const settings::SettingsStore& store);

// The font the converted selection is set to in Word or Excel.
std::string AutomationFontAfter(convert::Direction direction, convert::LegacyFont font,
                                const settings::SettingsStore& store);

// The Office application whose main window has this class name ("OpusApp" is
// Word's, "XLMAIN" Excel's); none for any other window.
std::optional<platform::OfficeApplication> OfficeApplicationOf(std::string_view windowClass);

struct ConversionOutcome {
  std::optional<std::string> paste;  // UTF-8
  // The converted rich text (RTF) to offer beside paste; none for a
  // selection converted as plain text.
  std::optional<std::string> pasteRtf;
  // Shown instead of pasting, or after the paste when some characters had
  // no equivalent.
  std::optional<Message> message;
};

// selection is UTF-8 as captured from the clipboard's Unicode text.
ConversionOutcome ConvertSelection(std::string_view selection, convert::Direction direction,
                                   convert::LegacyFont font);

// The same for a selection the target also gave as RTF: to Unicode only the
// runs in a legacy family change, taking unicodeFont; to legacy only the
// Devanagari, taking font's family. The plain text to paste beside it comes
// from the same runs, so English stays English. None when the RTF cannot be
// read: the plain text is converted then. selection is the plain text the
// target copied beside it.
std::optional<ConversionOutcome> ConvertRichSelection(std::string_view rtf, std::string_view selection,
                                                      convert::Direction direction, convert::LegacyFont font,
                                                      const std::string& unicodeFont);

// Whether the window of this class takes the selection as RTF. Excel does
// not: RTF pasted into cells replaces their own formats.
bool TakesRichText(std::string_view windowClass);

}  // namespace lk::commands
