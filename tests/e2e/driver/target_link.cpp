#include "target_link.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>

#include "check.h"
#include "input.h"
#include "popups.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {

const char kFactoryCustomize[] =
    "[Customize]\r\nin101=l\r\nin201=L\r\nin102='\r\nin202=\"\r\nin103=-\r\nin203=_\r\n"
    "in104=\xE6\r\nin204=\xC6\r\nin105=\x85\r\nin205=\xDA\r\nCharacter==\r\nRepeat=3\r\n";

namespace {

constexpr UINT kSendTimeoutMs = 5000;
constexpr UINT kCall = WM_APP + 1;

// Codes 128..159 of Windows-1252.
constexpr wchar_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* out = nullptr) {
  DWORD_PTR result = 0;
  const bool ok = SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                                      kSendTimeoutMs, &result) != 0;
  if (out) *out = static_cast<LRESULT>(result);
  return ok;
}

// DIB header and pixels: what a picture is, whatever the header version.
struct DibPixels {
  LONG width = 0;
  LONG height = 0;
  WORD bits = 0;
  const BYTE* pixels = nullptr;
  std::size_t size = 0;
};

std::optional<DibPixels> Pixels(const std::vector<BYTE>& dib) {
  if (dib.size() < sizeof(BITMAPINFOHEADER)) return std::nullopt;
  BITMAPINFOHEADER header{};
  std::memcpy(&header, dib.data(), sizeof header);
  if (header.biCompression != BI_RGB || header.biBitCount < 24) return std::nullopt;
  DibPixels p;
  p.width = header.biWidth;
  p.height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  p.bits = header.biBitCount;
  const std::size_t stride = ((static_cast<std::size_t>(p.width) * p.bits + 31) / 32) * 4;
  p.size = stride * static_cast<std::size_t>(p.height);
  const std::size_t offset = header.biSize + header.biClrUsed * sizeof(RGBQUAD);
  if (offset + p.size > dib.size()) return std::nullopt;
  p.pixels = dib.data() + offset;
  return p;
}

bool SamePicture(const std::vector<BYTE>& a, const std::vector<BYTE>& b) {
  const auto pa = Pixels(a);
  const auto pb = Pixels(b);
  return pa && pb && pa->width == pb->width && pa->height == pb->height && pa->bits == pb->bits &&
         std::memcmp(pa->pixels, pb->pixels, pa->size) == 0;
}

// Hands memory to the clipboard (which then owns it) or frees it.
bool PutBytes(UINT format, const void* bytes, std::size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return false;
  void* target = GlobalLock(memory);
  if (!target) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(target, bytes, size);
  GlobalUnlock(memory);
  if (!SetClipboardData(format, memory)) {
    GlobalFree(memory);
    return false;
  }
  return true;
}

std::optional<std::vector<BYTE>> GetBytes(UINT format) {
  if (!IsClipboardFormatAvailable(format)) return std::nullopt;
  HANDLE data = GetClipboardData(format);
  if (!data) return std::nullopt;
  const auto* bytes = static_cast<const BYTE*>(GlobalLock(data));
  if (!bytes) return std::nullopt;
  std::vector<BYTE> copy(bytes, bytes + GlobalSize(data));
  GlobalUnlock(data);
  return copy;
}

// Sends queued to this thread are answered while we wait for the clipboard:
// the program may be asking us to render while it holds it open.
bool OpenPatiently(HWND owner) {
  return WaitUntil(
      [&] {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
        return OpenClipboard(owner) != FALSE;
      },
      2000, 1);
}

UINT RichTextFormat() { return RegisterClipboardFormatW(L"Rich Text Format"); }

double Now() {
  LARGE_INTEGER frequency{}, now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

wchar_t LegacyChar(unsigned char code) {
  return code >= 0x80 && code < 0xA0 ? kHigh[code - 0x80] : static_cast<wchar_t>(code);
}

std::optional<DWORD> ClipboardDword(const wchar_t* name) {
  const UINT format = RegisterClipboardFormatW(name);
  std::optional<DWORD> value;
  Expect(WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, kUiTimeoutMs), "the clipboard stays locked");
  if (HANDLE data = GetClipboardData(format)) {
    if (const void* bytes = GlobalLock(data)) {
      if (GlobalSize(data) >= sizeof(DWORD)) value = *static_cast<const DWORD*>(bytes);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return value;
}

bool SameClipboard(const UserClipboard& a, const UserClipboard& b) {
  if (a.text != b.text || a.rtf != b.rtf || a.dib.has_value() != b.dib.has_value()) return false;
  return !a.dib || SamePicture(*a.dib, *b.dib);
}

std::string Describe(const UserClipboard& clipboard) {
  std::string out;
  if (clipboard.text) out = "text " + Quote(*clipboard.text);
  if (clipboard.dib) {
    const auto p = Pixels(*clipboard.dib);
    if (!out.empty()) out += " and ";
    out += "a picture ";
    out += p ? std::to_string(p->width) + "x" + std::to_string(p->height) + "x" +
                   std::to_string(p->bits)
             : std::string("(unreadable)");
  }
  if (clipboard.rtf) out += (out.empty() ? "rich text " : " and rich text ") + QuoteBytes(clipboard.rtf->substr(0, 200));
  return out.empty() ? "nothing" : out;
}

std::vector<BYTE> MakeDib(int width, int height, unsigned seed) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(width * height * 4);
  std::vector<BYTE> dib(sizeof header + header.biSizeImage);
  std::memcpy(dib.data(), &header, sizeof header);
  for (std::size_t i = sizeof header; i < dib.size(); ++i) {
    seed = seed * 1103515245u + 12345u;
    // The unused fourth byte of each pixel stays 0, as a system-made DIB has it.
    dib[i] = (i - sizeof header) % 4 == 3 ? 0 : static_cast<BYTE>(seed >> 16);
  }
  return dib;
}

// --- the driver's clipboard ------------------------------------------------

struct Clipboard::State {
  HWND window = nullptr;
  std::atomic<bool> offerTaken{false};
  std::wstring offer;

  // Runs `work` on the clipboard thread, which owns the window.
  void Call(const std::function<void()>& work) const {
    const bool ok = SendBounded(window, kCall, 0, reinterpret_cast<LPARAM>(&work));
    Expect(ok, "the driver's clipboard thread does not answer");
  }
};

namespace {

Clipboard::State* g_state = nullptr;

LRESULT CALLBACK ClipboardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kCall:
      (*reinterpret_cast<const std::function<void()>*>(lParam))();
      return 0;
    case WM_RENDERFORMAT:
      // The asker holds the clipboard open for us.
      if (wParam == CF_UNICODETEXT && g_state) {
        PutBytes(CF_UNICODETEXT, g_state->offer.c_str(), (g_state->offer.size() + 1) * sizeof(wchar_t));
        g_state->offerTaken = true;
      }
      return 0;
    case WM_RENDERALLFORMATS:
    case WM_DESTROYCLIPBOARD:
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

DWORD WINAPI ClipboardThread(LPVOID param) {
  auto* state = static_cast<Clipboard::State*>(param);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ClipboardProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"LkE2eClipboard";
  RegisterClassW(&windowClass);
  // Never shown, so never the foreground window.
  state->window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before we report ready
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

}  // namespace

Clipboard::Clipboard() : state_(new State) {
  g_state = state_;
  HANDLE thread = CreateThread(nullptr, 0, ClipboardThread, state_, 0, nullptr);
  Expect(thread != nullptr, "cannot start the driver's clipboard thread");
  CloseHandle(thread);
  Expect(WaitUntil([&] { return state_->window != nullptr; }, kUiTimeoutMs, 1),
         "the driver's clipboard window did not come up");
}

Clipboard& Clipboard::Instance() {
  static Clipboard clipboard;
  return clipboard;
}

void Clipboard::Put(const UserClipboard& contents) {
  bool ok = false;
  state_->Call([&] {
    if (!OpenPatiently(state_->window)) return;
    ok = EmptyClipboard() != FALSE;
    if (ok && contents.text) {
      ok = PutBytes(CF_UNICODETEXT, contents.text->c_str(),
                    (contents.text->size() + 1) * sizeof(wchar_t));
    }
    if (ok && contents.dib) ok = PutBytes(CF_DIB, contents.dib->data(), contents.dib->size());
    if (ok && contents.rtf) ok = PutBytes(RichTextFormat(), contents.rtf->c_str(), contents.rtf->size() + 1);
    CloseClipboard();
  });
  Expect(ok, "the driver cannot put " + Describe(contents) + " on the clipboard");
}

UserClipboard Clipboard::Read() {
  UserClipboard contents;
  bool opened = false;
  state_->Call([&] {
    if (!OpenPatiently(state_->window)) return;
    opened = true;
    if (auto bytes = GetBytes(CF_UNICODETEXT)) {
      const auto* chars = reinterpret_cast<const wchar_t*>(bytes->data());
      std::size_t length = 0;
      while (length < bytes->size() / sizeof(wchar_t) && chars[length]) ++length;
      contents.text.emplace(chars, length);
    }
    contents.dib = GetBytes(CF_DIB);
    if (auto bytes = GetBytes(RichTextFormat())) {
      const auto* chars = reinterpret_cast<const char*>(bytes->data());
      contents.rtf.emplace(chars, std::find(chars, chars + bytes->size(), '\0'));
    }
    CloseClipboard();
  });
  Expect(opened, "the driver cannot open the clipboard");
  return contents;
}

void Clipboard::Clear() { Put({}); }

void Clipboard::Offer(const std::wstring& text) {
  bool ok = false;
  state_->Call([&] {
    if (!OpenPatiently(state_->window)) return;
    state_->offer = text;
    state_->offerTaken = false;
    ok = EmptyClipboard() != FALSE;
    // A handle of null promises the data: WM_RENDERFORMAT asks for it.
    if (ok) SetClipboardData(CF_UNICODETEXT, nullptr);
    CloseClipboard();
  });
  Expect(ok, "the driver cannot offer text on the clipboard");
}

bool Clipboard::OfferTaken() const { return state_->offerTaken; }

// --- target applications ---------------------------------------------------

TargetApp::TargetApp(const std::wstring& exePath, const std::wstring& folder,
                     const std::wstring& title, const RECT& area, const std::wstring& controlClass,
                     const std::wstring& arguments)
    : program_(std::make_unique<RunningProgram>(exePath, folder, arguments)), title_(title) {
  std::vector<HWND> windows;
  const bool shown = WaitUntil(
      [&] {
        windows = TopLevelWindows(program_->Pid(), title);
        return !windows.empty() || program_->HasExited();
      },
      kStartTimeoutMs, 20);
  Expect(shown && !windows.empty(), "no window " + Quote(title) + " of " + Narrow(exePath));
  window_ = windows.front();
  program_->WaitIdle();
  Expect(WaitUntil(
             [&] { return (edit_ = FindWindowExW(window_, nullptr, controlClass.c_str(), nullptr)); },
             kUiTimeoutMs),
         Quote(title) + " has no " + Narrow(controlClass) + " control");
  // Clear of the toolbar: under Wine an activated window is drawn and hit
  // over a topmost one it overlaps.
  SetWindowPos(window_, nullptr, area.left, area.top, area.right - area.left,
               area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT frame{};
  Expect(WaitUntil(
             [&] {
               GetWindowRect(window_, &frame);
               return EqualRect(&frame, &area) != FALSE;
             },
             kUiTimeoutMs),
         Quote(title) + " did not move clear of the toolbar");
  Expect(Responds(window_), Quote(title) + " does not answer messages");
}

namespace {
std::wstring SystemProgram(const wchar_t* name) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system) + L"\\" + name;
}
}  // namespace

std::wstring StandInPath(const std::wstring& exe, const wchar_t* name) {
  const std::wstring path = exe.substr(0, exe.find_last_of(L'\\')) + L"\\tests\\standins\\" + name;
  Expect(GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES,
         "no stand-in at " + Narrow(path) + " (build the default target)");
  return path;
}

TargetApp TargetApp::Notepad(const std::wstring& folder) {
  return TargetApp(SystemProgram(L"notepad.exe"), folder, kNotepadTitle, RECT{0, 0, 900, 290});
}

TargetApp TargetApp::NotepadWithFile(const std::wstring& folder, const std::wstring& file,
                                     const RECT& area) {
  // An existing file, so that notepad opens it without asking.
  HANDLE made = CreateFileW((folder + L"\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  Expect(made != INVALID_HANDLE_VALUE, "cannot create " + Narrow(file));
  CloseHandle(made);
  return TargetApp(SystemProgram(L"notepad.exe"), folder, file + L" - Notepad", area, L"Edit",
                   L"\"" + folder + L"\\" + file + L"\"");
}

TargetApp TargetApp::Wordpad(const std::wstring& folder) {
  wchar_t programs[MAX_PATH] = {};
  GetEnvironmentVariableW(L"ProgramFiles", programs, MAX_PATH);
  return TargetApp(std::wstring(programs) + L"\\Windows NT\\Accessories\\wordpad.exe", folder,
                   L"Document - Wine Wordpad", RECT{0, 0, 900, 290}, L"RichEdit20W");
}

TargetApp TargetApp::KeysOnly(const std::wstring& exe, const std::wstring& folder) {
  return TargetApp(StandInPath(exe, L"keys_only_target.exe"), folder, L"Keys Only Target", RECT{0, 0, 900, 290},
                   L"KeysOnlyText");
}

TargetApp TargetApp::SlowPaste(const std::wstring& exe, const std::wstring& folder) {
  return TargetApp(StandInPath(exe, L"slow_paste_target.exe"), folder, L"Slow Paste Target", RECT{700, 0, 1200, 260});
}

// One WM_GETTEXT into a buffer with room to spare: asking for the length
// first would cut a text that grows in between.
std::wstring TargetApp::Text() const {
  for (std::size_t room = 4096;; room *= 4) {
    std::wstring text(room, L'\0');
    LRESULT copied = 0;
    Expect(SendBounded(edit_, WM_GETTEXT, room, reinterpret_cast<LPARAM>(text.data()), &copied),
           "the target's edit control does not answer WM_GETTEXT");
    if (static_cast<std::size_t>(copied) + 1 < room) {
      text.resize(static_cast<std::size_t>(copied));
      return text;
    }
  }
}

void TargetApp::SetText(const std::wstring& text) {
  Expect(SendBounded(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())),
         "the target's edit control does not answer WM_SETTEXT");
  const std::wstring now = Text();
  Expect(now == text, "the target's text is " + Quote(now) + " after setting " + Quote(text));
}

void TargetApp::Select(int start, int end) {
  Expect(SendBounded(edit_, EM_SETSEL, static_cast<WPARAM>(start), end),
         "the target's edit control does not answer EM_SETSEL");
}

// The click goes through the input queue, EM_SETSEL is sent: a selection
// set before the edit control has taken the click would be collapsed by it.
// So the caret is put at the start first, and the click (below the text) is
// known to be handled once the caret stands at the end.
void TargetApp::ClickInto() {
  Select(0, 0);
  const auto length = static_cast<DWORD>(Text().size());
  RECT client{};
  GetClientRect(edit_, &client);
  const DWORD thread = GetWindowThreadProcessId(edit_, nullptr);
  // Done when the caret stands at the end (the press is handled) and the edit
  // control no longer holds the mouse (the release is handled too): while it
  // holds it, the pointer's way to the toolbar would drag a new selection,
  // and the press on the toolbar would go to the edit control.
  const auto caretAtEnd = [&] {
    LRESULT selection = 0;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    // A rich edit control may take its closing paragraph mark into the
    // selection (9..10 after nine characters): the caret is at the end all the same.
    return SendBounded(edit_, EM_GETSEL, 0, 0, &selection) && LOWORD(selection) == length &&
           HIWORD(selection) >= length && HIWORD(selection) <= length + 1 && GetGUIThreadInfo(thread, &info) &&
           info.hwndCapture == nullptr && info.hwndFocus == edit_;
  };
  // A click that a loaded machine loses (a program still starting, a pointer
  // warped back) is given again, a few times.
  for (int attempt = 0; attempt < 3; ++attempt) {
    // Two points by turns, further apart than a double-click allows: Wine
    // pairs clicks per receiving process, so the click on the toolbar in
    // between does not part two quick clicks into the target.
    static int turn = 0;
    POINT point{client.right - 20 - 40 * (turn++ % 2), client.bottom - 20};
    ClientToScreen(edit_, &point);
    LeftClickAt(point);
    if (WaitUntil([&] { return GetForegroundWindow() == window_ && caretAtEnd(); }, kUiTimeoutMs / 3)) return;
  }
  Expect(GetForegroundWindow() == window_, "a click into the target did not make it the foreground window");
  Expect(FocusOf(edit_) == edit_, "a click into the target did not give its text the keyboard focus");
  LRESULT selection = 0;
  SendBounded(edit_, EM_GETSEL, 0, 0, &selection);
  Fail("a click below the target's text did not leave the caret at its end (" + std::to_string(length) +
       "): the selection is " + std::to_string(LOWORD(selection)) + ".." + std::to_string(HIWORD(selection)));
}

void TargetApp::ClickAndSelect(int start, int end) {
  ClickInto();
  Select(start, end);
}

void TargetApp::ExpectText(const std::wstring& expected, const std::string& after) const {
  const std::wstring now = ReadUntil([&] { return Text(); }, expected, kUiTimeoutMs);
  Expect(now == expected, Quote(title_) + " holds " + Quote(now) + " " + after + ", expected " + Quote(expected));
}

void PrepareTarget(TargetApp& target, const std::wstring& before, int start, int end, const UserClipboard& user) {
  target.SetText(before);
  Clipboard::Instance().Put(user);
  target.ClickAndSelect(start, end);
}

RoundTrip AwaitRoundTrip(const TargetApp& target, const std::wstring& before, const UserClipboard& after,
                         DWORD pollMs) {
  RoundTrip trip;
  trip.changed = WaitUntil(
      [&] {
        trip.text = target.Text();
        return trip.text != before;
      },
      8000, pollMs);
  // Opened only when the clipboard has changed since the last look, so the
  // polling does not keep the program from opening it.
  DWORD seen = 0;
  bool first = true;
  trip.restored = WaitUntil(
      [&] {
        const DWORD sequence = GetClipboardSequenceNumber();
        if (!first && sequence == seen && sequence != 0) return false;
        first = false;
        seen = sequence;
        trip.clipboard = Clipboard::Instance().Read();
        return SameClipboard(trip.clipboard, after);
      },
      trip.changed ? 8000 : 2000, pollMs);
  return trip;
}

RoundTrip ClickAndAwait(const Toolbar& toolbar, int id, const TargetApp& target,
                        const std::wstring& before, const UserClipboard& after, DWORD pollMs,
                        bool sameSpot) {
  HWND control = toolbar.Control(id);
  POINT button = VisiblePoint(control);
  // Wine pairs two clicks into a double-click per receiving process, so the
  // click into the target in between does not part two quick clicks on the
  // same spot of a button. Unless a case wants exactly that, the spot moves
  // by turns further than a double-click allows.
  static int turn = 0;
  const POINT beside{button.x + (turn++ % 2 ? -5 : 5), button.y};
  if (!sameSpot && WindowFromPoint(beside) == control) button = beside;
  MoveMouseTo(button);
  const double start = Now();
  LeftClickAt(button);
  RoundTrip trip = AwaitRoundTrip(target, before, after, pollMs);
  trip.ms = Now() - start;
  return trip;
}

void ExpectRoundTrip(const Toolbar& toolbar, const TargetApp& target, const RoundTrip& trip,
                     const std::wstring& before, const std::wstring& expected,
                     const UserClipboard& clipboardAfter, const std::string& what) {
  const std::string holds = Quote(target.Title()) + " holds ";
  Expect(trip.changed, holds + Quote(before) + " still " + what + DescribePopups(toolbar));
  Expect(trip.text == expected,
         holds + Quote(trip.text) + " " + what + ", expected " + Quote(expected) + DescribePopups(toolbar));
  Expect(trip.restored, "the clipboard holds " + Describe(trip.clipboard) + " " + what + ", expected " +
                            Describe(clipboardAfter));
  Expect(MessageBoxes(toolbar.Pid()).empty(), "a message box is open " + what + DescribePopups(toolbar));
  // Once the toolbar answers, the click's sequence is over and the next
  // click is not held back.
  Expect(Responds(toolbar.Window()), "the toolbar does not answer " + what);
}

void ExpectClipboard(const UserClipboard& expected, const std::string& after) {
  UserClipboard seen;
  const bool back = WaitUntil(
      [&] {
        seen = Clipboard::Instance().Read();
        return SameClipboard(seen, expected);
      },
      kUiTimeoutMs, 20);
  Expect(back, "the clipboard holds " + Describe(seen) + " " + after + ", expected " + Describe(expected));
}

}  // namespace lk::e2e
