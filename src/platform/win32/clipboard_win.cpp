#include <windows.h>

#include <cstring>

#include "platform/win32/win32_platform.h"
#include "platform/win32/wide_text.h"

namespace lk::platform {
namespace {

class OpenClipboardGuard {
 public:
  explicit OpenClipboardGuard(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
  ~OpenClipboardGuard() {
    if (open_) ::CloseClipboard();
  }
  OpenClipboardGuard(const OpenClipboardGuard&) = delete;
  OpenClipboardGuard& operator=(const OpenClipboardGuard&) = delete;
  bool ok() const { return open_; }

 private:
  bool open_;
};

class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL mem) : mem_(mem), ptr_(mem ? ::GlobalLock(mem) : nullptr) {}
  ~GlobalLockGuard() {
    if (ptr_) ::GlobalUnlock(mem_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  void* get() const { return ptr_; }

 private:
  HGLOBAL mem_;
  void* ptr_;
};

// Memory handed to SetClipboardData belongs to the clipboard; until then it is ours.
bool PutBytes(UINT format, const void* bytes, std::size_t size) {
  HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (!mem) return false;
  {
    GlobalLockGuard lock(mem);
    if (!lock.get()) {
      ::GlobalFree(mem);
      return false;
    }
    std::memcpy(lock.get(), bytes, size);
  }
  if (!::SetClipboardData(format, mem)) {
    ::GlobalFree(mem);
    return false;
  }
  return true;
}

}  // namespace

bool Win32Platform::ClipboardHasText() {
  return ::IsClipboardFormatAvailable(CF_UNICODETEXT) || ::IsClipboardFormatAvailable(CF_TEXT);
}

std::string Win32Platform::ClipboardGetText() {
  OpenClipboardGuard clip(owner_);
  if (!clip.ok()) return {};
  HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  if (!data) return {};
  GlobalLockGuard lock(data);
  if (!lock.get()) return {};
  const auto* chars = static_cast<const wchar_t*>(lock.get());
  const std::size_t capacity = ::GlobalSize(data) / sizeof(wchar_t);
  std::size_t length = 0;
  while (length < capacity && chars[length] != L'\0') ++length;
  return win32::Legacy(std::wstring_view(chars, length));
}

bool Win32Platform::ClipboardSetText(const std::string& text) {
  OpenClipboardGuard clip(owner_);
  if (!clip.ok() || !::EmptyClipboard()) return false;
  // Unicode text through our own table, the same bytes as CF_TEXT, and an
  // English locale, so no code-page guess of the system changes a byte.
  const std::wstring wide = win32::Wide(text);
  const bool unicode = PutBytes(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  PutBytes(CF_TEXT, text.c_str(), text.size() + 1);
  const LCID locale = 0x0409;
  PutBytes(CF_LOCALE, &locale, sizeof(locale));
  return unicode;
}

bool Win32Platform::ClipboardClear() {
  OpenClipboardGuard clip(owner_);
  return clip.ok() && ::EmptyClipboard();
}

}  // namespace lk::platform
