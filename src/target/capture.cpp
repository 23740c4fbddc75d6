#include "target/capture.h"

#include "target/key_sender.h"

namespace lk::target {
namespace {
// A slow target still gets this long to fill the clipboard after Ctrl+C.
constexpr std::chrono::milliseconds kCopyBound{1000};
}  // namespace

std::string CopyIT(platform::Platform& platform, const std::string& targetName) {
  const auto saved = platform.ClipboardSave();
  platform.ClipboardClear();
  Yields(platform, 4);
  const auto activation = platform.ActivateWindowByTitle(targetName);
  Yields(platform, 3);

  std::string captured;
  {
    KeySender keys(platform, activation.window);
    if (activation.code == 0 && keys.Prepare()) ControlChord(platform, keys, vk::kC, {3, 3, 3, 3});
    if (activation.code == 0 && keys.ok()) {
      platform.WaitUntil([&] { return platform.ClipboardHasText(); }, kCopyBound);
      captured = platform.ClipboardGetText();
    }
  }
  Yields(platform, 3);
  platform.ClipboardClear();
  Yields(platform, 2);
  if (!saved.empty()) platform.ClipboardRestore(saved);
  Yields(platform, 2);
  return captured;
}

}  // namespace lk::target
