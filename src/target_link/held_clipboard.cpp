#include "target_link/held_clipboard.h"

#include <utility>

namespace lk::target_link {

std::optional<HeldClipboard> HeldClipboard::Take(platform::Clipboard& clipboard) {
  auto saved = clipboard.Save();
  if (!saved) return std::nullopt;
  return HeldClipboard(clipboard, std::move(*saved));
}

HeldClipboard::HeldClipboard(HeldClipboard&& other) noexcept
    : clipboard_(other.clipboard_),
      saved_(std::move(other.saved_)),
      changed_(other.changed_),
      given_(std::exchange(other.given_, true)) {}

HeldClipboard::~HeldClipboard() {
  try {
    GiveBack();
  } catch (...) {
    // Nothing escapes a destructor; the command has already failed.
  }
}

bool HeldClipboard::GiveBack() {
  if (given_) return true;
  given_ = true;
  return !changed_ || clipboard_->Restore(saved_);
}

}  // namespace lk::target_link
