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

void Tooltips::Set(HWND tool, std::string_view legacyText) { SetWide(tool, win32::Wide(legacyText)); }

void Tooltips::SetUnicode(HWND tool, std::string_view utf8) { SetWide(tool, win32::FromUtf8(utf8)); }

void Tooltips::SetWide(HWND tool, std::wstring text) {
  if (!tip_ || !tool) return;
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = owner_;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = text.data();
  if (tools_.insert(tool).second)
    ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  else
    ::SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace lk::ui
