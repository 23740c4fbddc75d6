#include "platform/win32/win32_platform.h"

#include <algorithm>
#include <iterator>

#include "platform/win32/wide_text.h"

namespace lk::platform {
namespace {

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<WindowHandle>*>(param)->push_back(FromHwnd(hwnd));
  return TRUE;
}

// The system reports a family once per character set; each name is kept
// once, in the system's order.
int CALLBACK CollectFont(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param) {
  auto& names = *reinterpret_cast<std::vector<std::wstring>*>(param);
  // Vertical variants ("@Name") are not fonts a user picks.
  if (font->lfFaceName[0] != L'@' && std::find(names.begin(), names.end(), font->lfFaceName) == names.end())
    names.emplace_back(font->lfFaceName);
  return 1;
}

}  // namespace

bool Win32Platform::GetWindowRect(WindowHandle window, Rect& rect) {
  RECT r{};
  if (!::GetWindowRect(ToHwnd(window), &r)) return false;
  rect = {r.left, r.top, r.right, r.bottom};
  return true;
}

bool Win32Platform::SetWindowPosTopmost(WindowHandle window, int x, int y, int width, int height) {
  return ::SetWindowPos(ToHwnd(window), HWND_TOPMOST, x, y, width, height, SWP_SHOWWINDOW) != FALSE;
}

std::vector<WindowHandle> Win32Platform::EnumTopLevelWindows() {
  std::vector<WindowHandle> all;
  ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&all));
  return all;
}

bool Win32Platform::IsWindow(WindowHandle window) { return ::IsWindow(ToHwnd(window)) != FALSE; }
bool Win32Platform::IsWindowVisible(WindowHandle window) { return ::IsWindowVisible(ToHwnd(window)) != FALSE; }
bool Win32Platform::IsWindowEnabled(WindowHandle window) { return ::IsWindowEnabled(ToHwnd(window)) != FALSE; }
std::string Win32Platform::GetWindowTitle(WindowHandle window) { return win32::GetUtf8Text(ToHwnd(window)); }

std::string Win32Platform::GetWindowClassName(WindowHandle window) {
  wchar_t name[256];  // class names are at most 256 characters, the null included
  const int length = ::GetClassNameW(ToHwnd(window), name, static_cast<int>(std::size(name)));
  return length > 0 ? win32::ToUtf8(std::wstring_view(name, static_cast<std::size_t>(length))) : std::string();
}

void Win32Platform::FlashWindow(WindowHandle window) {
  FLASHWINFO info{sizeof(info), ToHwnd(window), FLASHW_CAPTION | FLASHW_TRAY | FLASHW_TIMER, 1, 0};
  ::FlashWindowEx(&info);
}

void Win32Platform::DragWindow(WindowHandle window) {
  ::ReleaseCapture();
  ::SendMessageW(ToHwnd(window), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void Win32Platform::ShowDropDown(WindowHandle comboBox) {
  ::SendMessageW(ToHwnd(comboBox), CB_SHOWDROPDOWN, TRUE, 0);
}

std::size_t Win32Platform::SendKeys(const std::vector<KeyStroke>& strokes) {
  std::vector<INPUT> inputs(strokes.size());
  for (std::size_t i = 0; i < strokes.size(); ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = strokes[i].virtualKey;
    inputs[i].ki.wScan = static_cast<WORD>(::MapVirtualKeyW(strokes[i].virtualKey, MAPVK_VK_TO_VSC) & 0xFF);
    inputs[i].ki.dwFlags = strokes[i].up ? KEYEVENTF_KEYUP : 0;
  }
  if (inputs.empty()) return 0;
  return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void Win32Platform::SetOwner(HWND owner) {
  owner_ = owner;
  // Wakes the waits the moment the clipboard changes.
  ::AddClipboardFormatListener(owner);
}

Activation Win32Platform::ActivateWindow(WindowHandle window) {
  HWND hwnd = ToHwnd(window);
  if (!::IsWindow(hwnd)) return {kNoSuchWindow, "Invalid procedure call or argument"};
  // Already in front: asking again costs a round of focus changes under Wine
  // and changes nothing.
  if (::GetForegroundWindow() != hwnd) ::SetForegroundWindow(hwnd);
  return {};
}

WindowHandle Win32Platform::FocusedEditControl(WindowHandle window) {
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

bool Win32Platform::SendEditRequest(WindowHandle control, EditRequest request, std::chrono::milliseconds bound) {
  // Not SMTO_BLOCK: while the control reads our offered text it asks us to
  // render it, and that request must be answered inside this wait.
  DWORD_PTR ignored = 0;
  const UINT message = request == EditRequest::kCopy ? WM_COPY : WM_PASTE;
  return ::SendMessageTimeoutW(ToHwnd(control), message, 0, 0, SMTO_ABORTIFHUNG,
                               static_cast<UINT>(bound.count()), &ignored) != 0;
}

void Win32Platform::HandlePending() {
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

bool Win32Platform::WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + bound;
  for (;;) {
    if (condition()) return true;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    // Messages wake us at once; the short slice covers states that send
    // none, such as the foreground or the keyboard.
    const DWORD slice = static_cast<DWORD>(std::min<long long>(left.count(), 5));
    ::MsgWaitForMultipleObjectsEx(0, nullptr, slice, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    HandlePending();
  }
}

WindowHandle Win32Platform::ForegroundWindow() { return FromHwnd(::GetForegroundWindow()); }

bool Win32Platform::ModifiersDown() {
  for (const int key : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN})
    if (::GetAsyncKeyState(key) & 0x8000) return true;
  return false;
}

bool Win32Platform::CatchUpWith(WindowHandle window, std::chrono::milliseconds bound) {
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutW(ToHwnd(window), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, static_cast<UINT>(bound.count()),
                               &ignored) != 0;
}

bool Win32Platform::HasAltNumpadEntry() {
  // Wine reads Alt with keypad digits as separate keys and types nothing.
  static const bool wine =
      ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return !wine;
}

void Win32Platform::TypeUnicode(char16_t unit) {
  INPUT inputs[2] = {};
  for (auto& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = unit;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
  }
  inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof(INPUT));
}

int Win32Platform::ShowMessageBox(const std::string& text, unsigned flags, const std::optional<std::string>& title) {
  const std::wstring wideTitle = win32::FromUtf8(title.value_or("Lekhopakar"));
  // The system-modal flag asks for a box above every window, not only ours.
  // Owned by whichever of our windows is active (a dialog over the toolbar),
  // so closing the box does not re-enable a window a dialog has disabled.
  HWND active = ::GetActiveWindow();
  HWND owner = active ? active : owner_;
  return ::MessageBoxW((flags & MB_SYSTEMMODAL) ? nullptr : owner, win32::FromUtf8(text).c_str(), wideTitle.c_str(),
                       flags | ((flags & MB_SYSTEMMODAL) ? MB_TOPMOST : 0));
}

std::vector<std::string> Win32Platform::ScreenFonts() {
  std::vector<std::wstring> names;
  HDC screen = ::GetDC(nullptr);
  if (screen) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExW(screen, &query, &CollectFont, reinterpret_cast<LPARAM>(&names), 0);
    ::ReleaseDC(nullptr, screen);
  }
  std::vector<std::string> fonts;
  for (const auto& name : names) fonts.push_back(win32::ToUtf8(name));
  return fonts;
}

std::filesystem::path::string_type Win32Platform::ProgramDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD got = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (got == 0) return {};
    if (got < path.size()) {
      path.resize(got);
      break;
    }
    path.resize(path.size() * 2);
  }
  const auto slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  // "C:\lekhopakar.exe" lies in "C:\", which keeps its backslash.
  const bool driveRoot = slash == 2 && path[1] == L':';
  path.resize(driveRoot ? slash + 1 : slash);
  return path;
}

}  // namespace lk::platform
