#include "target_link/capture.h"

#include "target_link/link.h"
#include "text/utf8.h"

namespace lk::target_link {
namespace {
// A slow target still gets this long to answer the copy and fill the clipboard.
constexpr std::chrono::milliseconds kCopyBound{1000};
}  // namespace

std::string CaptureText(platform::Platform& platform, platform::WindowHandle window) {
  const auto saved = platform.ClipboardSave();
  // Emptied first: a target that copies nothing leaves nothing, never the
  // user's own text for us to take as its selection.
  platform.ClipboardClear();
  std::string captured;
  const Reached reached = Reach(platform, window);
  if (reached.ok) {
    // An edit control has copied by the time it answers; for keys, the
    // clipboard's update is what tells.
    const bool asked = reached.edit ? platform.SendEditRequest(reached.edit, platform::EditRequest::kCopy, kCopyBound)
                                    : SendControlChord(platform, window, vk::kC);
    if (asked && !reached.edit) platform.WaitUntil([&] { return platform.ClipboardHasText(); }, kCopyBound);
    if (asked) captured = platform.ClipboardGetText();
  }
  platform.ClipboardRestore(saved);
  return captured;
}

std::string CopyIT(platform::Platform& platform, platform::WindowHandle window) {
  return text::Utf8ToCp1252(CaptureText(platform, window));
}

}  // namespace lk::target_link
