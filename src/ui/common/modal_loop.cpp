#include "ui/common/modal_loop.h"

namespace lk::ui {

bool RunModal(HWND window, HWND owner, const std::function<bool()>& done) {
  const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
  if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
  bool quitting = false;
  MSG msg{};
  while (!done() && ::IsWindow(window)) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      quitting = true;
      break;
    }
    if (::IsDialogMessageW(window, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (ownerWasEnabled && ::IsWindow(owner)) ::EnableWindow(owner, TRUE);
  return !quitting;
}

}  // namespace lk::ui
