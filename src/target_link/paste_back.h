#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "target_link/held_clipboard.h"
#include "target_link/link.h"

namespace lk::target_link {

struct Pasted {
  bool pasted = false;
  // False when the user's clipboard could not be put back afterwards.
  bool clipboardRestored = true;
};

// Pastes Unicode text (UTF-8) over the selection of the target window (the
// one CheckTarget found) through the clipboard, and gives the user's
// clipboard back once the target has read the text; a clipboard that was
// empty keeps the pasted text. Nothing happens for an empty text or when the
// clipboard cannot be set.
Pasted PasteText(const platform::Platform& platform, platform::WindowHandle window, const std::string& text);

// The same with rich text (RTF) beside it: a rich target takes the rich
// text, a plain one the text. An empty rtf pastes the text alone.
Pasted PasteRich(const platform::Platform& platform, platform::WindowHandle window, std::string text,
                 std::string rtf);

// Offers up to this size (text and rich text together) are put on the
// clipboard whole for an edit control.
inline constexpr std::size_t kRenderAtOnceBytes = 64 * 1024;
// How an offer of this many bytes for a paste into the reached window is made.
platform::Rendering RenderingFor(const Reached& reached, std::size_t offerBytes);

// The same for legacy-font text (Windows-1252 bytes).
Pasted PasteIT(const platform::Platform& platform, platform::WindowHandle window, const std::string& legacy);

// The same with the user's clipboard already saved in `held`, by the capture
// before it; given back here.
Pasted PasteIT(const platform::Platform& platform, platform::WindowHandle window, const std::string& legacy,
               HeldClipboard& held);
Pasted PasteRich(const platform::Platform& platform, platform::WindowHandle window, std::string text,
                 std::string rtf, HeldClipboard& held);

}  // namespace lk::target_link
