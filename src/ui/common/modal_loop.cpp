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
    if (RouteAltF4(msg) || ::IsDialogMessageW(window, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (ownerWasEnabled && ::IsWindow(owner)) ::EnableWindow(owner, TRUE);
  return !quitting;
}

bool RouteAltF4(const MSG& msg) {
  if (msg.message != WM_SYSKEYDOWN || msg.wParam != VK_F4 || !msg.hwnd) return false;
  HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
  if (!root || root == msg.hwnd) return false;  // a top-level window handles it itself
  ::SendMessageW(root, WM_SYSCOMMAND, SC_CLOSE, 0);
  return true;
}

}  // namespace lk::ui
