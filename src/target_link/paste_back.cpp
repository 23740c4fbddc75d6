#include "target_link/paste_back.h"

#include "target_link/link.h"
#include "text/utf8.h"

namespace lk::target_link {
namespace {
// A target that reads the clipboard late still gets the new text.
constexpr std::chrono::milliseconds kReadBound{2000};
}  // namespace

bool PasteText(platform::Platform& platform, platform::WindowHandle window, const std::string& text) {
  if (text.empty()) return false;
  const auto saved = platform.ClipboardSave();
  // Pasted whenever it is there, even when it equals what the clipboard held
  // before: the same text twice is still two pastes.
  if (!platform.ClipboardOffer(text)) {
    platform.ClipboardRestore(saved);
    return false;
  }
  bool pasted = false;
  const Reached reached = Reach(platform, window);
  if (reached.ok) {
    pasted = reached.edit ? platform.SendEditRequest(reached.edit, platform::EditRequest::kPaste, kReadBound)
                          : SendControlChord(platform, window, vk::kV);
    // An edit control has normally read the text by the time it answers;
    // one that defers its read is waited for like a target sent keys.
    if (pasted) platform.WaitUntil([&] { return platform.ClipboardOfferTaken(); }, kReadBound);
  }
  if (!saved.empty() || !pasted) platform.ClipboardRestore(saved);
  return pasted;
}

bool PasteIT(platform::Platform& platform, platform::WindowHandle window, const std::string& legacy) {
  return PasteText(platform, window, text::Cp1252ToUtf8(legacy));
}

}  // namespace lk::target_link
