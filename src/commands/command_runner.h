#pragma once
// The road of every command: check the target, capture the selection, read
// the button's settings at this moment, transform, paste back.
#include <string>

#include "commands/edit_commands.h"
#include "convert/converter.h"
#include "platform/platform.h"
#include "settings/settings_store.h"
#include "target_link/target_ui.h"

namespace lk::commands {

class CommandRunner {
 public:
  CommandRunner(platform::Platform platform, const settings::SettingsStore& store, target_link::TargetUi& ui)
      : platform_(platform), store_(store), ui_(ui) {}

  // Button 1 to 7, as numbered on the toolbar.
  void Run(int button);
  // Pastes a text as it is (the quick-text arrow), when there is one.
  void PasteText(const std::string& text);
  // Types the glyph whose code the digits give ("0065"): a key of the keypad.
  void TypeKey(const std::string& digits);

  // "Selection to Unicode" and "Selection to legacy font" on the window the
  // target field names. chosenFont is the font list's choice.
  void ConvertTarget(convert::Direction direction, const std::string& chosenFont);
  // The same on a window already known: the one in front when a hotkey was
  // pressed.
  void ConvertWindow(platform::WindowHandle window, convert::Direction direction, const std::string& chosenFont);

 private:
  void Convert(platform::WindowHandle window, const std::string& name, convert::Direction direction,
               const std::string& chosenFont);
  void RunRepeat();
  void Show(const Message& message);
  // Tells the user when their clipboard could not be given back, so that
  // they do not paste what we left there by mistake.
  void ReportClipboard(bool restored);
  // Shows the outcome's message, then pastes its text (legacy bytes), as
  // every button does.
  void Finish(platform::WindowHandle window, const Outcome& outcome);

  platform::Platform platform_;
  const settings::SettingsStore& store_;
  target_link::TargetUi& ui_;
};

}  // namespace lk::commands
