#pragma once
// The road of every command: check the target, capture the selection, read
// the button's settings at this moment, transform, paste back.
#include "commands/edit_commands.h"
#include "platform/platform.h"
#include "settings/settings_store.h"
#include "target/target_ui.h"

namespace lk::commands {

class CommandRunner {
 public:
  CommandRunner(platform::Platform& platform, const settings::SettingsStore& store, target::TargetUi& ui)
      : platform_(platform), store_(store), ui_(ui) {}

  // Button 1 to 7, as numbered on the toolbar.
  void Run(int button);
  // Pastes a text as it is (the quick-text arrow), when there is one.
  void PasteText(const std::string& text);

 private:
  void RunRepeat();
  void Show(const Message& message);

  platform::Platform& platform_;
  const settings::SettingsStore& store_;
  target::TargetUi& ui_;
};

}  // namespace lk::commands
