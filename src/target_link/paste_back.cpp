#include "target_link/paste_back.h"

#include <utility>

#include "target_link/link.h"
#include "text/utf8.h"

namespace lk::target_link {
namespace {
// A target that reads the clipboard late still gets the new text.
constexpr std::chrono::milliseconds kReadBound{2000};

// Pastes with the user's clipboard saved in `held`, and gives it back.
Pasted PasteHolding(const platform::Platform& platform, platform::WindowHandle window, std::string text,
                    std::string rtf, HeldClipboard& held) {
  auto& clipboard = platform.clipboard;
  Pasted result;
  const Reached reached = Reach(platform, window);
  // Pasted whenever it is there, even when it equals what the clipboard held
  // before: the same text twice is still two pastes.
  const platform::Rendering rendering = RenderingFor(reached, text.size() + rtf.size());
  if (!(text.empty() && rtf.empty()) && reached.ok &&
      clipboard.Offer(std::move(text), std::move(rtf), rendering)) {
    held.Changed();
    if (reached.edit) {
      auto& keyboard = platform.keyboard;
      const auto before =
          rendering == platform::Rendering::kAtOnce ? keyboard.SelectionOf(reached.edit) : std::nullopt;
      result.pasted = keyboard.SendEditRequest(reached.edit, platform::EditRequest::kPaste, kReadBound);
      // An edit control has normally pasted by the time it answers; one that
      // defers its read has not moved its caret yet, and is waited for.
      if (result.pasted && before)
        platform.windows.WaitUntil([&] { return keyboard.SelectionOf(reached.edit) != before; }, kReadBound);
    } else {
      result.pasted = SendControlChord(platform, window, platform::Key::kV);
    }
    // A text rendered on request is waited for until the target has read it.
    if (result.pasted) platform.windows.WaitUntil([&] { return clipboard.OfferTaken(); }, kReadBound);
  }
  // A clipboard that was empty keeps the pasted text.
  if (held.saved().empty() && result.pasted)
    held.Keep();
  else
    result.clipboardRestored = held.GiveBack();
  return result;
}

}  // namespace

platform::Rendering RenderingFor(const Reached& reached, std::size_t offerBytes) {
  // An edit control has read the text by the time it answers the paste
  // request, or moves its caret once it has, so a small text is simply put
  // there: rendering it on request would cost the target a call back into
  // us. A large one waits to be asked for, and so does one pasted by keys,
  // whose reading only the request tells us of.
  return reached.edit && offerBytes <= kRenderAtOnceBytes ? platform::Rendering::kAtOnce
                                                           : platform::Rendering::kOnRequest;
}

Pasted PasteText(const platform::Platform& platform, platform::WindowHandle window, const std::string& text) {
  return PasteRich(platform, window, text, {});
}

Pasted PasteRich(const platform::Platform& platform, platform::WindowHandle window, std::string text,
                 std::string rtf) {
  if (text.empty() && rtf.empty()) return {};
  // The user's clipboard is not given up unless it can be given back.
  auto held = HeldClipboard::Take(platform.clipboard);
  if (!held) return {};
  return PasteHolding(platform, window, std::move(text), std::move(rtf), *held);
}

Pasted PasteIT(const platform::Platform& platform, platform::WindowHandle window, const std::string& legacy) {
  return PasteText(platform, window, text::Cp1252ToUtf8(legacy));
}

Pasted PasteIT(const platform::Platform& platform, platform::WindowHandle window, const std::string& legacy,
               HeldClipboard& held) {
  return PasteHolding(platform, window, text::Cp1252ToUtf8(legacy), {}, held);
}

Pasted PasteRich(const platform::Platform& platform, platform::WindowHandle window, std::string text,
                 std::string rtf, HeldClipboard& held) {
  return PasteHolding(platform, window, std::move(text), std::move(rtf), held);
}

}  // namespace lk::target_link
