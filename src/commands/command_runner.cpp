#include "commands/command_runner.h"

#include "commands/button_slots.h"
#include "commands/convert_selection.h"
#include "commands/edit_commands.h"
#include "target_link/capture.h"
#include "target_link/paste_back.h"
#include "target_link/target_check.h"
#include "target_link/typing.h"

namespace lk::commands {

void CommandRunner::Show(const Message& message) { platform_.shell.ShowMessage(message.text, message.style, "Lekhopakar"); }

void CommandRunner::ReportClipboard(bool restored) {
  if (!restored) Show(ClipboardNotRestored());
}

void CommandRunner::Finish(platform::WindowHandle window, const Outcome& outcome) {
  if (outcome.message) Show(*outcome.message);
  if (outcome.paste) ReportClipboard(target_link::PasteIT(platform_, window, *outcome.paste).clipboardRestored);
}

void CommandRunner::Run(int button) {
  if (button == 6) {
    RunRepeat();
    return;
  }
  const auto window = target_link::CheckTarget(platform_, ui_);
  if (!window) return;
  // The user's clipboard is saved once, before the copy, and given back
  // once, after the paste.
  auto held = target_link::HeldClipboard::Take(platform_.clipboard);
  const std::string selection = held ? target_link::CopyIT(platform_, window, *held) : std::string();
  Outcome outcome;
  if (!selection.empty()) {
    if (button == 7) {
      outcome = WordSwap(selection);
    } else {
      // Read at every click: a Save in the dialog counts from the next one.
      const std::string first = SlotKey("in1", button);
      const std::string second = SlotKey("in2", button);
      const settings::SettingsStore::Lookup lookups[] = {{first, ""}, {second, ""}};
      const auto insertions = settings::ReadSettings(store_, kSection, lookups);
      outcome = button == 1   ? LeadingTrailingSwap(selection, insertions[0], insertions[1])
                : button == 2 ? LastCharacterSwap(selection, insertions[0], insertions[1])
                              : Wrap(selection, insertions[0], insertions[1]);
    }
  }
  if (held && outcome.paste && !outcome.message) {
    ReportClipboard(target_link::PasteIT(platform_, window, *outcome.paste, *held).clipboardRestored);
    return;
  }
  // Nothing to paste, or a message to show first: the user has their
  // clipboard back before anything else.
  if (held) ReportClipboard(held->GiveBack());
  if (selection.empty()) {
    // Buttons 1 to 5 ask for the whole screen's attention; the word swap does not.
    Show(CaptureFailure(ui_.TargetName(), button != 7));
    return;
  }
  Finish(window, outcome);
}

void CommandRunner::RunRepeat() {
  const auto window = target_link::CheckTarget(platform_, ui_);
  if (!window) return;
  const std::string character = ReadCharacter(store_, "");
  const std::string repeat = settings::ReadSetting(store_, kSection, "Repeat", "1");
  Finish(window, Repeat(character, repeat));
}

void CommandRunner::PasteText(const std::string& text) {
  if (text.empty()) return;
  if (const auto window = target_link::CheckTarget(platform_, ui_)) Finish(window, {text, std::nullopt});
}

void CommandRunner::TypeKey(const std::string& digits) {
  if (const auto window = target_link::CheckTarget(platform_, ui_)) target_link::TypeIT(platform_, window, digits);
}

void CommandRunner::ConvertTarget(convert::Direction direction, const std::string& chosenFont) {
  if (const auto window = target_link::CheckTarget(platform_, ui_)) Convert(window, ui_.TargetName(), direction, chosenFont);
}

void CommandRunner::ConvertWindow(platform::WindowHandle window, convert::Direction direction,
                                  const std::string& chosenFont) {
  Convert(window, platform_.windows.Title(window), direction, chosenFont);
}

void CommandRunner::Convert(platform::WindowHandle window, const std::string& name, convert::Direction direction,
                            const std::string& chosenFont) {
  const std::string windowClass = platform_.windows.ClassName(window);
  // The user's clipboard is saved once, before the copy, and given back
  // once, after the paste (or before any message).
  auto held = target_link::HeldClipboard::Take(platform_.clipboard);
  const auto captured = held ? target_link::CaptureHeld(platform_, window, *held, TakesRichText(windowClass))
                             : target_link::Captured{};
  const std::string& selection = captured.text;
  if (selection.empty()) {
    if (held) ReportClipboard(held->GiveBack());
    Show(CaptureFailure(name, /*systemModal=*/true));
    return;
  }
  const convert::LegacyFont font = ConversionFont(chosenFont, store_);
  std::optional<ConversionOutcome> richOutcome;
  if (captured.rtf)
    richOutcome = ConvertRichSelection(*captured.rtf, selection, direction, font,
                                       AutomationFontAfter(convert::Direction::kToUnicode, font, store_));
  ConversionOutcome outcome = richOutcome ? std::move(*richOutcome) : ConvertSelection(selection, direction, font);
  if (!outcome.paste) {
    ReportClipboard(held->GiveBack());
    if (outcome.message) Show(*outcome.message);
    return;
  }
  const auto pasted = target_link::PasteRich(platform_, window, std::move(*outcome.paste),
                                             outcome.pasteRtf ? std::move(*outcome.pasteRtf) : std::string(), *held);
  ReportClipboard(pasted.clipboardRestored);
  if (!pasted.pasted) return;
  // Only the converted window's own application: a conversion in notepad
  // must not change the font of whatever is selected in an open Word. Rich
  // text that went back carries its fonts run by run; setting one font over
  // it would give the English words the Nepali font.
  if (!outcome.pasteRtf)
    if (const auto office = OfficeApplicationOf(windowClass))
      platform_.shell.SetSelectionFont(*office, AutomationFontAfter(direction, font, store_));
  if (outcome.message) Show(*outcome.message);
}

}  // namespace lk::commands
