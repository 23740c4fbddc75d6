#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

#include "diagnostics/debug_log.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_clipboard.h"
#include "text/utf8.h"

namespace lk::platform {
namespace {

using platform::GlobalLockGuard;
using platform::OpenClipboardGuard;

// Marks that keep our temporary texts (a piece of the user's document) out of
// clipboard history, away from clipboard managers and off other devices.
const wchar_t* const kExcludeFromMonitors = L"ExcludeClipboardContentFromMonitorProcessing";
const wchar_t* const kHistory = L"CanIncludeInClipboardHistory";
const wchar_t* const kCloud = L"CanUploadToCloudClipboard";
const wchar_t* const kViewerIgnore = L"Clipboard Viewer Ignore";

// Registered once: each registration is a round trip to the window system,
// and the marks were looked up for every format of every save.
UINT MarkFormat(const wchar_t* mark) {
  static const UINT excludeFromMonitors = ::RegisterClipboardFormatW(kExcludeFromMonitors);
  static const UINT history = ::RegisterClipboardFormatW(kHistory);
  static const UINT cloud = ::RegisterClipboardFormatW(kCloud);
  static const UINT viewerIgnore = ::RegisterClipboardFormatW(kViewerIgnore);
  return mark == kExcludeFromMonitors ? excludeFromMonitors
         : mark == kHistory           ? history
         : mark == kCloud             ? cloud
                                      : viewerIgnore;
}

bool IsOurMark(UINT format) {
  for (const wchar_t* mark : {kExcludeFromMonitors, kHistory, kCloud, kViewerIgnore})
    if (format == MarkFormat(mark)) return true;
  return false;
}

// Formats whose data is a handle of another kind than global memory cannot
// be copied byte for byte; the system makes bitmaps again from the DIBs.
bool CopyableFormat(UINT format) {
  switch (format) {
    case CF_BITMAP:
    case CF_METAFILEPICT:
    case CF_PALETTE:
    case CF_ENHMETAFILE:
    case CF_OWNERDISPLAY:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE:
      return false;
    default:
      return !(format >= CF_PRIVATEFIRST && format <= CF_GDIOBJLAST);
  }
}

// Memory handed to SetClipboardData belongs to the clipboard; until then it
// is ours. write(memory) fills the size bytes there: a large offer is
// written once, into the block itself, and not copied there from a string.
template <typename Write>
bool PutBlock(UINT format, std::size_t size, Write write) {
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, size == 0 ? 1 : size);
  if (!mem) return false;
  {
    GlobalLockGuard lock(mem);
    if (!lock.get()) {
      ::GlobalFree(mem);
      return false;
    }
    write(lock.get());
  }
  if (!::SetClipboardData(format, mem)) {
    ::GlobalFree(mem);
    return false;
  }
  return true;
}

bool PutBytes(UINT format, const void* bytes, std::size_t size) {
  return PutBlock(format, size, [&](void* memory) {
    if (size) std::memcpy(memory, bytes, size);
  });
}

// Unicode text as UTF-16; as 8-bit text through the Windows-1252 table, which
// is what CF_LOCALE below tells readers it is. Each ends with a NUL.
bool PutText(UINT format, const std::string& text) {
  const std::size_t units = text::Utf16Length(text);
  if (format == CF_UNICODETEXT) {
    return PutBlock(CF_UNICODETEXT, (units + 1) * sizeof(char16_t), [&](void* memory) {
      auto* wide = static_cast<char16_t*>(memory);
      text::WriteUtf16(text, wide);
      wide[units] = u'\0';
    });
  }
  return PutBlock(CF_TEXT, units + 1, [&](void* memory) {
    auto* bytes = static_cast<char*>(memory);
    text::WriteCp1252(text, bytes);
    bytes[units] = '\0';
  });
}

std::string ReadUnicodeText() {
  HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  if (!data) return {};
  GlobalLockGuard lock(data);
  if (!lock.get()) return {};
  const auto* chars = static_cast<const wchar_t*>(lock.get());
  const std::size_t capacity = ::GlobalSize(data) / sizeof(wchar_t);
  std::size_t length = 0;
  while (length < capacity && chars[length] != L'\0') ++length;
  return platform::ToUtf8(std::wstring_view(chars, length));
}

UINT RichTextFormat() {
  static const UINT format = ::RegisterClipboardFormatW(platform::FromUtf8(kRichTextFormat).c_str());
  return format;
}

// RTF is 7-bit text; the writer ends it with a NUL that is not part of it.
bool PutRichText(std::string_view rtf) {
  return PutBlock(RichTextFormat(), rtf.size() + 1, [&](void* memory) {
    std::memcpy(memory, rtf.data(), rtf.size());
    static_cast<char*>(memory)[rtf.size()] = '\0';
  });
}

void PutLocale() {
  // English: no code-page guess of the system changes a legacy-font byte.
  const LCID locale = 0x0409;
  PutBytes(CF_LOCALE, &locale, sizeof(locale));
}

}  // namespace

Win32Clipboard::Win32Clipboard() {
  if (!window_.Create()) diagnostics::LogFailure("the clipboard window could not be created", ::GetLastError());
}

Win32Clipboard::~Win32Clipboard() {
  if (owner()) ::RemoveClipboardFormatListener(owner());
  // The window's own WM_RENDERALLFORMATS would come after it stopped
  // answering, so our text is handed over here; nothing may escape a
  // destructor.
  try {
    RenderAll();
  } catch (...) {
  }
}

bool Win32Clipboard::OwnerWindow::Create() {
  static const wchar_t kClass[] = L"LekhopakarClipboardOwner";
  RegisterClassOnce(kClass, 0, nullptr, nullptr, nullptr);
  if (!CreateWindowFor(kClass, 0, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr)) return false;
  // Wakes the waits the moment the clipboard changes.
  if (!::AddClipboardFormatListener(hwnd()))
    diagnostics::LogFailure("AddClipboardFormatListener failed", ::GetLastError());
  return true;
}

LRESULT Win32Clipboard::OwnerWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_RENDERFORMAT:
      // Inside this message the clipboard is already open for us.
      clipboard_.Render(static_cast<UINT>(wParam));
      clipboard_.offerTaken_ = true;
      return 0;
    case WM_RENDERALLFORMATS:
      clipboard_.RenderAll();
      return 0;
    case WM_DESTROYCLIPBOARD:
      clipboard_.offerPending_ = false;
      return 0;
    case WM_CLIPBOARDUPDATE:
      return 0;  // only wakes a wait for the clipboard
    default:
      return Default(msg, wParam, lParam);
  }
}

bool Win32Clipboard::HasText() {
  return ::IsClipboardFormatAvailable(CF_UNICODETEXT) || ::IsClipboardFormatAvailable(CF_TEXT);
}

std::string Win32Clipboard::GetText() {
  OpenClipboardGuard clip(owner());
  return clip.ok() ? ReadUnicodeText() : std::string();
}

std::optional<std::string> Win32Clipboard::GetRichText(std::size_t maxBytes) {
  const UINT format = RichTextFormat();
  if (!format || !::IsClipboardFormatAvailable(format)) return std::nullopt;
  OpenClipboardGuard clip(owner());
  if (!clip.ok()) return std::nullopt;
  HANDLE data = ::GetClipboardData(format);
  if (!data) return std::nullopt;
  // The memory block may be rounded up past the text, so a block a little
  // over the bound can still hold a text within it; past the bound there is
  // no need to look for its end.
  const std::size_t size = std::min<std::size_t>(::GlobalSize(data), maxBytes + 1);
  GlobalLockGuard lock(data);
  if (!lock.get()) return std::nullopt;
  const auto* bytes = static_cast<const char*>(lock.get());
  const std::size_t length = std::find(bytes, bytes + size, '\0') - bytes;
  if (length > maxBytes) return std::nullopt;
  return std::string(bytes, length);
}

bool Win32Clipboard::Clear() {
  // Emptied without an owner: the target that fills it next need not call
  // back into us (WM_DESTROYCLIPBOARD) while we wait for its answer, which
  // measured several milliseconds per copy under Wine.
  OpenClipboardGuard clip(nullptr);
  if (!clip.ok()) return false;
  offerPending_ = false;
  return ::EmptyClipboard() != FALSE;
}

std::optional<ClipboardSnapshot> Win32Clipboard::Save() {
  OpenClipboardGuard clip(owner());
  if (!clip.ok()) return std::nullopt;
  ClipboardSnapshot snapshot;
  snapshot.hasText = HasText();
  if (snapshot.hasText) snapshot.text = ReadUnicodeText();
  for (UINT format = ::EnumClipboardFormats(0); format != 0; format = ::EnumClipboardFormats(format)) {
    if (!CopyableFormat(format) || IsOurMark(format)) continue;
    HANDLE data = ::GetClipboardData(format);
    if (!data) continue;
    GlobalLockGuard lock(data);
    if (!lock.get()) continue;
    ClipboardItem item;
    item.format = format;
    if (format >= 0xC000) {
      wchar_t name[256] = {};
      const int length = ::GetClipboardFormatNameW(format, name, 256);
      item.name = platform::ToUtf8(std::wstring_view(name, length > 0 ? static_cast<std::size_t>(length) : 0));
    }
    const auto* bytes = static_cast<const unsigned char*>(lock.get());
    item.bytes.assign(bytes, bytes + ::GlobalSize(data));
    snapshot.items.push_back(std::move(item));
  }
  return snapshot;
}

bool Win32Clipboard::Restore(const ClipboardSnapshot& snapshot) {
  OpenClipboardGuard clip(owner());
  if (!clip.ok() || !::EmptyClipboard()) return false;
  offerPending_ = false;
  bool all = true;
  for (const auto& item : snapshot.items) {
    const UINT format = item.name.empty() ? item.format : ::RegisterClipboardFormatW(platform::FromUtf8(item.name).c_str());
    if (format == 0 || !PutBytes(format, item.bytes.data(), item.bytes.size())) all = false;
  }
  return all;
}

bool Win32Clipboard::Offer(std::string text, std::string rtf, Rendering rendering) {
  // Without our window nobody would answer a request to render.
  if (!owner()) return false;
  OpenClipboardGuard clip(owner());
  if (!clip.ok() || !::EmptyClipboard()) return false;
  // The rich text goes first: readers that take the first format they know
  // take it over the plain text. Put there whole, the offer is read without
  // a call back into us; should the memory for it fail, the promise below
  // replaces what went in.
  if (rendering == Rendering::kAtOnce && (rtf.empty() || PutRichText(rtf)) && PutText(CF_UNICODETEXT, text) &&
      PutText(CF_TEXT, text)) {
    offerText_.clear();
    offerRtf_.clear();
    offerTaken_ = true;
    offerPending_ = false;
  } else {
    offerText_ = std::move(text);
    offerRtf_ = std::move(rtf);
    offerTaken_ = false;
    // Rendered on request: the request itself tells us the target has read
    // it. (A delayed format's SetClipboardData answers NULL whether or not
    // it took, so there is no failure to look at here.)
    if (!offerRtf_.empty()) ::SetClipboardData(RichTextFormat(), nullptr);
    ::SetClipboardData(CF_UNICODETEXT, nullptr);
    ::SetClipboardData(CF_TEXT, nullptr);
    offerPending_ = true;
  }
  PutLocale();
  const DWORD no = 0;
  PutBytes(MarkFormat(kHistory), &no, sizeof(no));
  PutBytes(MarkFormat(kCloud), &no, sizeof(no));
  PutBytes(MarkFormat(kExcludeFromMonitors), &no, sizeof(no));
  PutBytes(MarkFormat(kViewerIgnore), &no, sizeof(no));
  return true;
}

bool Win32Clipboard::OfferTaken() { return offerTaken_; }

void Win32Clipboard::Render(UINT format) {
  if (format == CF_UNICODETEXT || format == CF_TEXT) PutText(format, offerText_);
  else if (format == RichTextFormat() && !offerRtf_.empty()) PutRichText(offerRtf_);
}

void Win32Clipboard::RenderAll() {
  // We are going away while the clipboard still holds our promise: keep it.
  if (!offerPending_) return;
  OpenClipboardGuard clip(owner());
  if (clip.ok() && ::GetClipboardOwner() == owner()) {
    if (!offerRtf_.empty()) Render(RichTextFormat());
    Render(CF_UNICODETEXT);
    Render(CF_TEXT);
  }
  offerPending_ = false;
}

}  // namespace lk::platform
