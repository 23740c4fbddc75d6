#include "windows_query.h"

#include <cmath>

#include "check.h"
#include "wait.h"

namespace lk::e2e {
namespace {

constexpr UINT kSendTimeoutMs = 5000;

LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool& ok) {
  DWORD_PTR result = 0;
  ok = SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &result) != 0;
  return static_cast<LRESULT>(result);
}

struct EnumState {
  DWORD pid;
  const std::wstring* title;
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto& state = *reinterpret_cast<EnumState*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != state.pid || !IsWindowVisible(window)) return TRUE;
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  if (*state.title != title) return TRUE;
  const std::wstring cls = ClassName(window);
  const bool classMatches =
      state.className ? cls == state.className : cls != L"#32770";
  if (classMatches) state.found.push_back(window);
  return TRUE;
}

GUITHREADINFO GuiThreadOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return GUITHREADINFO{};
  return info;
}

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM param) {
  *reinterpret_cast<bool*>(param) = true;
  return 0;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid, const std::wstring& title, const wchar_t* className) {
  EnumState state{pid, &title, className, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

std::wstring WindowText(HWND window) {
  bool ok = false;
  const auto length = SendBounded(window, WM_GETTEXTLENGTH, 0, 0, ok);
  if (!ok || length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied = SendBounded(window, WM_GETTEXT, text.size(),
                                  reinterpret_cast<LPARAM>(text.data()), ok);
  text.resize(ok && copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  return name;
}

LRESULT SendOrFail(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  Expect(SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kUiTimeoutMs, &result) != 0,
         "window " + Narrow(ClassName(window)) + " did not answer message " + std::to_string(message));
  return static_cast<LRESULT>(result);
}

HWND FocusOf(HWND window) { return GuiThreadOf(window).hwndFocus; }
HWND MouseCaptureOf(HWND window) { return GuiThreadOf(window).hwndCapture; }

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

RECT RectInClient(HWND parent, HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

POINT Centre(const RECT& rect) {
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT VisiblePoint(HWND control) {
  const RECT rect = ScreenRect(control);
  const auto hits = [&](POINT point) {
    HWND hit = WindowFromPoint(point);
    return hit == control || IsChild(control, hit);
  };
  const POINT centre = Centre(rect);
  if (hits(centre)) return centre;
  for (int y = centre.y; y < rect.bottom - 1; y += 3) {
    for (int x = rect.left + 2; x < rect.right - 2; x += 3) {
      if (hits({x, y})) return {x, y};
    }
  }
  Fail("no point of control " + std::to_string(GetDlgCtrlID(control)) + " takes a click");
}

int ComboCount(HWND combo) {
  bool ok = false;
  const auto count = SendBounded(combo, CB_GETCOUNT, 0, 0, ok);
  return ok ? static_cast<int>(count) : -1;
}

int ComboSelection(HWND combo) {
  bool ok = false;
  const auto index = SendBounded(combo, CB_GETCURSEL, 0, 0, ok);
  return ok ? static_cast<int>(index) : CB_ERR;
}

std::wstring ComboItem(HWND combo, int index) {
  bool ok = false;
  const auto length = SendBounded(combo, CB_GETLBTEXTLEN, index, 0, ok);
  if (!ok || length == CB_ERR || length < 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied =
      SendBounded(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()), ok);
  text.resize(ok && copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

int ComboFindExact(HWND combo, const std::wstring& text) {
  bool ok = false;
  const auto index =
      SendBounded(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                  reinterpret_cast<LPARAM>(text.c_str()), ok);
  return ok ? static_cast<int>(index) : CB_ERR;
}

std::optional<std::wstring> ComboSelectedText(HWND combo) {
  const int index = ComboSelection(combo);
  if (index == CB_ERR) return std::nullopt;
  return ComboItem(combo, index);
}

bool FontInstalled(const std::wstring& family) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(wanted.lfFaceName, family.c_str(), LF_FACESIZE);
  bool found = false;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(dc, &wanted, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

void MakeDpiAware() {
  using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  auto setContext = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  if (!setContext || !setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) SetProcessDPIAware();
}

UINT SystemDpi() {
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return static_cast<UINT>(dpi);
}

int TwipsToPixels(int twips, UINT dpi) {
  return static_cast<int>(std::lround(twips * static_cast<double>(dpi) / 1440.0));
}

bool Responds(HWND window, UINT timeoutMs) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

}  // namespace lk::e2e
