// A target that knows copy and paste only as keys: a window titled
// "Keys Only Target" whose text lives in a control of its own class (not an
// edit control), as in a word processor or a browser. It copies on Ctrl+C and
// pastes on Ctrl+V as it sees them in its keyboard state, and types every
// other printable character over the selection, so a letter that lost its
// Ctrl shows up in the text. For the tests it also answers WM_GETTEXT,
// WM_SETTEXT, EM_SETSEL and EM_GETSEL as an edit control would.
#include <windows.h>

#include <algorithm>
#include <string>

#include "standin_frame.h"

namespace {

struct Document {
  std::wstring text;
  std::size_t start = 0;
  std::size_t end = 0;

  void Replace(const std::wstring& with) {
    text.replace(start, end - start, with);
    start = end = start + with.size();
  }
};

Document g_doc;

class ClipboardOpen {
 public:
  explicit ClipboardOpen(HWND owner) {
    for (int i = 0; i < 200 && !open_; ++i) {
      open_ = ::OpenClipboard(owner) != FALSE;
      if (!open_) ::Sleep(5);
    }
  }
  ~ClipboardOpen() {
    if (open_) ::CloseClipboard();
  }
  bool ok() const { return open_; }

 private:
  bool open_ = false;
};

void Copy(HWND hwnd) {
  if (g_doc.start == g_doc.end) return;
  const std::wstring part = g_doc.text.substr(g_doc.start, g_doc.end - g_doc.start);
  ClipboardOpen clip(hwnd);
  if (!clip.ok() || !::EmptyClipboard()) return;
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, (part.size() + 1) * sizeof(wchar_t));
  if (!mem) return;
  std::copy(part.c_str(), part.c_str() + part.size() + 1, static_cast<wchar_t*>(::GlobalLock(mem)));
  ::GlobalUnlock(mem);
  if (!::SetClipboardData(CF_UNICODETEXT, mem)) ::GlobalFree(mem);
}

void Paste(HWND hwnd) {
  std::wstring text;
  {
    ClipboardOpen clip(hwnd);
    if (!clip.ok()) return;
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data) return;
    const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data));
    if (!chars) return;
    text.assign(chars, wcsnlen(chars, ::GlobalSize(data) / sizeof(wchar_t)));
    ::GlobalUnlock(data);
  }
  g_doc.Replace(text);
}

std::size_t Position(LPARAM value) {
  const auto position = static_cast<long long>(static_cast<int>(value));
  return position < 0 ? g_doc.text.size() : std::min<std::size_t>(static_cast<std::size_t>(position), g_doc.text.size());
}

LRESULT CALLBACK TextProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
      ::SetFocus(hwnd);
      g_doc.start = g_doc.end = g_doc.text.size();
      return 0;
    case WM_KEYDOWN:
      if (::GetKeyState(VK_CONTROL) < 0 && wParam == 'C') Copy(hwnd);
      if (::GetKeyState(VK_CONTROL) < 0 && wParam == 'V') Paste(hwnd);
      ::InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_CHAR:
      if (wParam >= 32) g_doc.Replace(std::wstring(1, static_cast<wchar_t>(wParam)));
      ::InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(g_doc.text.size());
    case WM_GETTEXT: {
      if (wParam == 0) return 0;
      const std::size_t n = std::min<std::size_t>(g_doc.text.size(), wParam - 1);
      auto* out = reinterpret_cast<wchar_t*>(lParam);
      std::copy(g_doc.text.begin(), g_doc.text.begin() + static_cast<std::ptrdiff_t>(n), out);
      out[n] = L'\0';
      return static_cast<LRESULT>(n);
    }
    case WM_SETTEXT:
      g_doc.text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
      g_doc.start = g_doc.end = 0;
      ::InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case EM_SETSEL:
      g_doc.start = Position(static_cast<LPARAM>(wParam));
      g_doc.end = Position(lParam);
      if (g_doc.start > g_doc.end) std::swap(g_doc.start, g_doc.end);
      return 0;
    case EM_GETSEL:
      return MAKELRESULT(g_doc.start, g_doc.end);
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(hwnd, &paint);
      RECT client;
      ::GetClientRect(hwnd, &client);
      ::DrawTextW(dc, g_doc.text.c_str(), static_cast<int>(g_doc.text.size()), &client, DT_LEFT | DT_WORDBREAK);
      ::EndPaint(hwnd, &paint);
      return 0;
    }
    default:
      return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  RegisterWindowClass(L"KeysOnlyText", TextProc, IDC_IBEAM, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  HWND frame = CreateFrame(L"KeysOnlyTarget", L"Keys Only Target", PlainFrameProc, {700, 40, 1200, 260});
  ::SetFocus(CreateTextChild(frame, L"KeysOnlyText", 0));
  return RunMessageLoop();
}
