#pragma once
// Reading another process's windows: texts, places, the font list, and the
// top-level windows a process owns. Every message sent across processes is
// bounded, so a hung program fails a case instead of hanging the driver.
#include <windows.h>

#include <optional>
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

// Sends within the UI bound and fails the case when the window does not
// answer; gives the answer.
LRESULT SendOrFail(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The windows holding the keyboard focus and the mouse in `window`'s thread.
HWND FocusOf(HWND window);
HWND MouseCaptureOf(HWND window);

// `child`'s rectangle in the client coordinates of `parent`.
RECT RectInClient(HWND parent, HWND child);
RECT ScreenRect(HWND window);
POINT Centre(const RECT& rect);
// A point of `control` that the control itself would get a click at (not
// covered by a sibling); fails the case when there is none.
POINT VisiblePoint(HWND control);

// Font list (combo box) queries; empty text when `index` is out of range.
int ComboCount(HWND combo);
int ComboSelection(HWND combo);
std::wstring ComboItem(HWND combo, int index);
int ComboFindExact(HWND combo, const std::wstring& text);
// The selected entry's text, or nothing when no entry is selected.
std::optional<std::wstring> ComboSelectedText(HWND combo);

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
