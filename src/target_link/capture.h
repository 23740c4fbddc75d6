#pragma once
#include <cstddef>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "target_link/held_clipboard.h"

namespace lk::target_link {

struct Captured {
  // The selection, exactly as the target put it on the clipboard; empty when
  // nothing was captured.
  std::string text;
  // The "Rich Text Format" the target put beside the text, when asked for
  // and no larger than kMaxSelectionRtf.
  std::optional<std::string> rtf;
  // False when the user's clipboard could not be put back afterwards.
  bool clipboardRestored = true;
};

// Copies the selection of the target window (the one CheckTarget found)
// through the clipboard and gives the user's clipboard back. The text is
// Unicode (UTF-8).
Captured CaptureText(const platform::Platform& platform, platform::WindowHandle window);

// A selection whose rich text is larger than this is taken as plain text:
// the rich text is held several times over while it is converted.
inline constexpr std::size_t kMaxSelectionRtf = 64u << 20;

// The same, keeping the selection's rich text beside the text when the
// target offers it.
Captured CaptureRich(const platform::Platform& platform, platform::WindowHandle window);

// The same for legacy-font text: the selection as Windows-1252 bytes, code
// by code (a symbol font's U+F0xx codes included).
Captured CopyIT(const platform::Platform& platform, platform::WindowHandle window);

// The same for a command that pastes a result back: the user's clipboard,
// saved in `held`, is not given back here but by the paste (or by `held`).
Captured CaptureHeld(const platform::Platform& platform, platform::WindowHandle window, HeldClipboard& held,
                     bool rich);
std::string CopyIT(const platform::Platform& platform, platform::WindowHandle window, HeldClipboard& held);

}  // namespace lk::target_link
