#include "target_link/paste_back.h"

#include "target_link/link.h"
#include "text/utf8.h"

namespace lk::target_link {
namespace {
// A target that reads the clipboard late still gets the new text.
constexpr std::chrono::milliseconds kReadBound{2000};
}  // namespace

Pasted PasteText(const platform::Platform& platform, platform::WindowHandle window, const std::string& text) {
  if (text.empty()) return {};
  auto& clipboard = platform.clipboard;
  // The user's clipboard is not given up unless it can be given back.
  const auto saved = clipboard.Save();
  if (!saved) return {};
  // Pasted whenever it is there, even when it equals what the clipboard held
  // before: the same text twice is still two pastes.
  if (!clipboard.Offer(text)) return {};
  Pasted result;
  const Reached reached = Reach(platform, window);
  if (reached.ok) {
    result.pasted = reached.edit
                        ? platform.keyboard.SendEditRequest(reached.edit, platform::EditRequest::kPaste, kReadBound)
                        : SendControlChord(platform, window, platform::Key::kV);
    // An edit control has normally read the text by the time it answers;
    // one that defers its read is waited for like a target sent keys.
    if (result.pasted) platform.windows.WaitUntil([&] { return clipboard.OfferTaken(); }, kReadBound);
  }
  if (!saved->empty() || !result.pasted) result.clipboardRestored = clipboard.Restore(*saved);
  return result;
}

Pasted PasteIT(const platform::Platform& platform, platform::WindowHandle window, const std::string& legacy) {
  return PasteText(platform, window, text::Cp1252ToUtf8(legacy));
}

}  // namespace lk::target_link
