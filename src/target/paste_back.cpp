#include "target/paste_back.h"

#include "target/key_sender.h"

namespace lk::target {
namespace {
// A target that reads the clipboard late still gets the new text.
constexpr std::chrono::milliseconds kReadBound{2000};
}  // namespace

bool PasteIT(platform::Platform& platform, const std::string& targetName, const std::string& text) {
  const auto saved = platform.ClipboardSave();
  const std::string savedText = saved.hasText ? saved.text : std::string();
  Yields(platform, 2);
  platform.ClipboardClear();
  Yields(platform, 2);
  const bool offered = platform.ClipboardOffer(text);
  Yields(platform, 2);

  // No visibly new text (nothing set, or the user's own text again): nothing
  // to paste. The user's clipboard goes back whole.
  const std::string now = offered ? text : platform.ClipboardGetText();
  if (now == savedText) {
    platform.ClipboardRestore(saved);
    return false;
  }

  const auto activation = platform.ActivateWindowByTitle(targetName);
  Yields(platform, 3);
  bool pasted = false;
  {
    KeySender keys(platform, activation.window);
    if (activation.code == 0 && keys.Prepare()) ControlChord(platform, keys, vk::kV, {3, 2, 2, 3});
    pasted = activation.code == 0 && keys.ok();
  }
  if (pasted) platform.WaitUntil([&] { return platform.ClipboardOfferTaken(); }, kReadBound);

  if (!saved.empty()) {
    platform.ClipboardClear();
    Yields(platform, 2);
    platform.ClipboardRestore(saved);
  } else if (!pasted) {
    // Nothing reached the target: the clipboard goes back to empty.
    platform.ClipboardClear();
  }
  return pasted;
}

}  // namespace lk::target
