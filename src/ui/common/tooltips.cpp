#include "ui/common/tooltips.h"

#include <commctrl.h>

#include <string>

#include "platform/win32/wide_text.h"

namespace lk::ui {

Tooltips::~Tooltips() {
  if (tip_ && ::IsWindow(tip_)) ::DestroyWindow(tip_);
}

void Tooltips::Create(HWND owner) {
  owner_ = owner;
  tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
  // Long tips stay on one line, as they were written.
  ::SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 2000);
}

void Tooltips::Set(HWND tool, std::string_view legacyText, Feed feed) {
  SetWide(tool, platform::Wide(legacyText), feed);
}

void Tooltips::SetUnicode(HWND tool, std::string_view utf8, Feed feed) { SetWide(tool, platform::FromUtf8(utf8), feed); }

void Tooltips::Relay(HWND tool, UINT msg, WPARAM wParam, LPARAM lParam) const {
  if (!tip_ || (msg != WM_MOUSEMOVE && msg != WM_LBUTTONDOWN && msg != WM_LBUTTONUP && msg != WM_RBUTTONDOWN &&
                msg != WM_RBUTTONUP && msg != WM_MBUTTONDOWN && msg != WM_MBUTTONUP))
    return;
  MSG relayed{tool, msg, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
  const DWORD at = ::GetMessagePos();
  relayed.pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  ::SendMessageW(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void Tooltips::SetWide(HWND tool, std::wstring text, Feed feed) {
  if (!tip_ || !tool) return;
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  // A subclass costs the tool window round trips to the window system; a
  // tool that already has one of ours relays instead.
  info.uFlags = TTF_IDISHWND | (feed == Feed::kSubclass ? TTF_SUBCLASS : 0);
  info.hwnd = owner_;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = text.data();
  if (tools_.insert(tool).second)
    ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  else
    ::SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace lk::ui
