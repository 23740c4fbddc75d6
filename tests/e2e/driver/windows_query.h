#pragma once
// Reading another process's windows: texts, places, the font list, and the
// top-level windows a process owns. Every message sent across processes is
// bounded, so a hung program fails a case instead of hanging the driver.
#include <windows.h>

#include <string>
#include <vector>

namespace lk::e2e {

// Visible top-level windows of process `pid` whose title is `title`; with a
// class name given, only windows of that class, otherwise any class but the
// dialog class "#32770".
std::vector<HWND> TopLevelWindows(DWORD pid, const std::wstring& title,
                                  const wchar_t* className = nullptr);

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

// `child`'s rectangle in the client coordinates of `parent`.
RECT RectInClient(HWND parent, HWND child);
POINT Centre(const RECT& rect);

// Font list (combo box) queries; empty text when `index` is out of range.
int ComboCount(HWND combo);
int ComboSelection(HWND combo);
std::wstring ComboItem(HWND combo, int index);
int ComboFindExact(HWND combo, const std::wstring& text);

// Whether the driver's own font enumeration (the same system fonts the
// toolbar lists) knows a family of this name.
bool FontInstalled(const std::wstring& family);

// The DPI the driver runs at: after MakeDpiAware, the system's setting.
void MakeDpiAware();
UINT SystemDpi();
int TwipsToPixels(int twips, UINT dpi);

// Sends WM_NULL and waits for the answer: the window's thread has handled
// everything queued before it.
bool Responds(HWND window, UINT timeoutMs = 5000);

}  // namespace lk::e2e
