#pragma once
// Owners for every Win32 handle and every state the program sets and must
// put back, so each is released on every path, early returns and exceptions
// included. All of them live here, for the whole program.
#include <windows.h>

#include <oleauto.h>

#include <chrono>
#include <utility>

#include "platform/window_handle.h"

namespace lk::platform {

inline HWND ToHwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }
inline WindowHandle FromHwnd(HWND h) { return reinterpret_cast<WindowHandle>(h); }

template <typename Handle, typename Deleter>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Handle{})) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = std::exchange(o.h_, Handle{});
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Handle{}; }
  void reset(Handle h = Handle{}) {
    if (h_ != Handle{}) Deleter{}(h_);
    h_ = h;
  }

 private:
  Handle h_{};
};

// --- GDI

struct GdiObjectDeleter {
  void operator()(HGDIOBJ h) const { ::DeleteObject(h); }
};

using UniqueFont = UniqueHandle<HFONT, GdiObjectDeleter>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter>;

// CreateCompatibleDC / DeleteDC.
class MemoryDc {
 public:
  explicit MemoryDc(HDC like) : dc_(::CreateCompatibleDC(like)) {}
  ~MemoryDc() {
    if (dc_) ::DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// GetDC / ReleaseDC; the screen's when no window is named.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd = nullptr) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd) { dc_ = ::BeginPaint(hwnd, &ps_); }
  ~PaintDc() { ::EndPaint(hwnd_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// SelectObject, put back on scope exit.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? ::SelectObject(dc, obj) : nullptr) {}
  ~Selected() {
    if (old_) ::SelectObject(dc_, old_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// --- Clipboard

// OpenClipboard / CloseClipboard. Another program may hold the clipboard for
// a moment (reading the text we have just rendered for it, typically, and
// then it may be waiting for us to render more), so opening tries again as
// soon as this thread gets its turn, answering what is sent to us meanwhile,
// until a deadline; never in whole timer ticks, which at 15.6 ms would add up
// to seconds.
class OpenClipboardGuard {
 public:
  static constexpr std::chrono::milliseconds kOpenBound{250};

  explicit OpenClipboardGuard(HWND owner) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + kOpenBound;
    while (!(open_ = ::OpenClipboard(owner) != FALSE) && Clock::now() < deadline) {
      MSG msg;
      ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      ::SwitchToThread();
    }
  }
  ~OpenClipboardGuard() {
    if (open_) ::CloseClipboard();
  }
  OpenClipboardGuard(const OpenClipboardGuard&) = delete;
  OpenClipboardGuard& operator=(const OpenClipboardGuard&) = delete;
  bool ok() const { return open_; }

 private:
  bool open_ = false;
};

// GlobalLock / GlobalUnlock.
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

// --- COM

// Releases a COM reference when it goes out of scope.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T** put() { return &p_; }
  T* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

// VariantInit / VariantClear.
class VariantGuard {
 public:
  VariantGuard() { ::VariantInit(&v_); }
  ~VariantGuard() { ::VariantClear(&v_); }
  VariantGuard(const VariantGuard&) = delete;
  VariantGuard& operator=(const VariantGuard&) = delete;
  VARIANT* get() { return &v_; }

 private:
  VARIANT v_;
};

// --- Window state

// The hourglass while a slow step runs; the cursor before it comes back.
class WaitCursor {
 public:
  WaitCursor() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

// Raises a flag for the length of a scope: the window's own SetWindowPos
// sends messages back that must not act on themselves.
class FlagRaised {
 public:
  explicit FlagRaised(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagRaised() { flag_ = false; }
  FlagRaised(const FlagRaised&) = delete;
  FlagRaised& operator=(const FlagRaised&) = delete;

 private:
  bool& flag_;
};

}  // namespace lk::platform
