#include "platform/win32/win32_windows.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"

namespace lk::platform {
namespace {

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<WindowHandle>*>(param)->push_back(FromHwnd(hwnd));
  return TRUE;
}

// Handles every message waiting for this thread, leaving a quit for the main loop.
void HandlePending() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit for the main loop, which ends the program.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace

std::vector<WindowHandle> Win32Windows::EnumTopLevel() {
  std::vector<WindowHandle> all;
  ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&all));
  return all;
}

bool Win32Windows::Exists(WindowHandle window) { return ::IsWindow(ToHwnd(window)) != FALSE; }
bool Win32Windows::IsVisible(WindowHandle window) { return ::IsWindowVisible(ToHwnd(window)) != FALSE; }
bool Win32Windows::IsEnabled(WindowHandle window) { return ::IsWindowEnabled(ToHwnd(window)) != FALSE; }
std::string Win32Windows::Title(WindowHandle window) { return platform::GetUtf8Text(ToHwnd(window)); }

std::string Win32Windows::ClassName(WindowHandle window) {
  wchar_t name[256];  // class names are at most 256 characters, the null included
  const int length = ::GetClassNameW(ToHwnd(window), name, static_cast<int>(std::size(name)));
  return length > 0 ? platform::ToUtf8(std::wstring_view(name, static_cast<std::size_t>(length))) : std::string();
}

void Win32Windows::Flash(WindowHandle window) {
  FLASHWINFO info{sizeof(info), ToHwnd(window), FLASHW_CAPTION | FLASHW_TRAY | FLASHW_TIMER, 1, 0};
  ::FlashWindowEx(&info);
}

Activation Win32Windows::Activate(WindowHandle window) {
  HWND hwnd = ToHwnd(window);
  if (!::IsWindow(hwnd)) return Activation::kNoSuchWindow;
  // Already in front: asking again costs a round of focus changes under Wine
  // and changes nothing.
  if (::GetForegroundWindow() != hwnd) ::SetForegroundWindow(hwnd);
  return Activation::kDone;
}

WindowHandle Win32Windows::FocusedEditControl(WindowHandle window) {
  HWND hwnd = ToHwnd(window);
  const DWORD thread = ::GetWindowThreadProcessId(hwnd, nullptr);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!thread || !::GetGUIThreadInfo(thread, &info) || !info.hwndFocus) return 0;
  HWND focus = info.hwndFocus;
  if (focus != hwnd && !::IsChild(hwnd, focus)) return 0;
  wchar_t name[32] = {};
  const int length = ::GetClassNameW(focus, name, 32);
  if (length <= 0) return 0;
  // Edit, RichEdit, RichEdit20W, RICHEDIT50W and kin all take WM_COPY and WM_PASTE.
  const bool edit = ::CompareStringOrdinal(name, length, L"Edit", -1, TRUE) == CSTR_EQUAL ||
                    (length >= 8 && ::CompareStringOrdinal(name, 8, L"RichEdit", 8, TRUE) == CSTR_EQUAL);
  return edit ? FromHwnd(focus) : 0;
}

bool Win32Windows::WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + bound;
  for (;;) {
    if (condition()) return true;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    // Messages wake us at once; the slice covers states that send none,
    // such as the foreground or the keyboard. A millisecond: the target's
    // copy is read in a few, and a longer slice was often waited out whole.
    const DWORD slice = static_cast<DWORD>(std::min<long long>(left.count(), 1));
    ::MsgWaitForMultipleObjectsEx(0, nullptr, slice, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    HandlePending();
  }
}

WindowHandle Win32Windows::Foreground() { return FromHwnd(::GetForegroundWindow()); }

bool Win32Windows::CatchUpWith(WindowHandle window, std::chrono::milliseconds bound) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutW(ToHwnd(window), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, static_cast<UINT>(bound.count()),
                               &ignored) != 0;
}

}  // namespace lk::platform
