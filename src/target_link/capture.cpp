#include "target_link/capture.h"

#include "target_link/link.h"
#include "text/utf8.h"

namespace lk::target_link {
namespace {
// A slow target still gets this long to answer the copy and fill the clipboard.
constexpr std::chrono::milliseconds kCopyBound{1000};

}  // namespace

Captured CaptureHeld(const platform::Platform& platform, platform::WindowHandle window, HeldClipboard& held,
                     bool rich) {
  auto& clipboard = platform.clipboard;
  Captured captured;
  // A clipboard we cannot empty is left alone: the user's own text could be
  // taken for the target's selection.
  if (!clipboard.Clear()) return captured;
  held.Changed();
  const Reached reached = Reach(platform, window);
  if (!reached.ok) return captured;
  // An edit control has copied by the time it answers; for keys, the
  // clipboard's update is what tells.
  const bool asked =
      reached.edit ? platform.keyboard.SendEditRequest(reached.edit, platform::EditRequest::kCopy, kCopyBound)
                   : SendControlChord(platform, window, platform::Key::kC);
  if (asked && !reached.edit) platform.windows.WaitUntil([&] { return clipboard.HasText(); }, kCopyBound);
  if (asked) captured.text = clipboard.GetText();
  // Only beside a text: a target that copied nothing leaves no rich text.
  if (asked && rich && !captured.text.empty()) captured.rtf = clipboard.GetRichText(kMaxSelectionRtf);
  return captured;
}

namespace {

Captured Capture(const platform::Platform& platform, platform::WindowHandle window, bool rich) {
  // A clipboard we cannot read to save is left alone: taking it over would
  // lose the user's contents.
  auto held = HeldClipboard::Take(platform.clipboard);
  if (!held) return {};
  Captured captured = CaptureHeld(platform, window, *held, rich);
  captured.clipboardRestored = held->GiveBack();
  return captured;
}

}  // namespace

Captured CaptureText(const platform::Platform& platform, platform::WindowHandle window) {
  return Capture(platform, window, false);
}

Captured CaptureRich(const platform::Platform& platform, platform::WindowHandle window) {
  return Capture(platform, window, true);
}

Captured CopyIT(const platform::Platform& platform, platform::WindowHandle window) {
  Captured captured = CaptureText(platform, window);
  captured.text = text::Utf8ToCp1252(captured.text);
  return captured;
}

std::string CopyIT(const platform::Platform& platform, platform::WindowHandle window, HeldClipboard& held) {
  return text::Utf8ToCp1252(CaptureHeld(platform, window, held, false).text);
}

}  // namespace lk::target_link
