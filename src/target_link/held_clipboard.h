#pragma once
// The user's clipboard, saved once for a whole command that copies the
// target's selection and pastes a result back, and given back once at its
// end. Put back and saved again between the copy and the paste, it cost a
// full clipboard write and read, and woke every clipboard listener, on each
// click.
#include <optional>

#include "platform/clipboard.h"

namespace lk::target_link {

class HeldClipboard {
 public:
  // None when the clipboard cannot be read: what cannot be given back may
  // not be taken over.
  static std::optional<HeldClipboard> Take(platform::Clipboard& clipboard);

  HeldClipboard(HeldClipboard&& other) noexcept;
  HeldClipboard& operator=(HeldClipboard&&) = delete;
  HeldClipboard(const HeldClipboard&) = delete;
  HeldClipboard& operator=(const HeldClipboard&) = delete;
  // Gives the contents back if nobody did: an early return or an exception
  // must not leave the user with our text.
  ~HeldClipboard();

  const platform::ClipboardSnapshot& saved() const { return saved_; }
  // Call once the clipboard has been changed (emptied, or our text put
  // there). Until then there is nothing to give back, and putting the
  // snapshot back would only lose the formats it could not copy.
  void Changed() { changed_ = true; }
  // Puts the user's contents back, once; true when all of it went back (or
  // nothing had changed).
  bool GiveBack();
  // Leaves the clipboard as it is now: a pasted text stays where the user
  // had nothing.
  void Keep() { given_ = true; }

 private:
  HeldClipboard(platform::Clipboard& clipboard, platform::ClipboardSnapshot saved)
      : clipboard_(&clipboard), saved_(std::move(saved)) {}

  platform::Clipboard* clipboard_;
  platform::ClipboardSnapshot saved_;
  bool changed_ = false;
  bool given_ = false;
};

}  // namespace lk::target_link
