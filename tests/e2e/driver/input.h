#pragma once
// Real input, as a person gives it: the mouse moved with SendInput to a
// screen point and clicked there, keys pressed and released.
#include <windows.h>

#include <initializer_list>
#include <string>

namespace lk::e2e {

// Moves the pointer to `point` (screen pixels) and waits until it is there.
void MoveMouseTo(POINT point);
void LeftClickAt(POINT point);
void DoubleClickAt(POINT point);
// Presses the left button at `from`, moves in steps to `to`, releases there.
void LeftDrag(POINT from, POINT to);

// Presses the keys in order and releases them in reverse order (a chord such
// as Alt+F4), or a single key.
void PressKeys(std::initializer_list<WORD> virtualKeys);

// Types `text` key by key as a person does, Shift where the layout needs it;
// a character no key types is sent as itself.
void TypeText(const std::wstring& text);

// Screen points on `window`'s frame found by asking the window itself
// (WM_NCHITTEST): the middle of its close box, its system-menu icon and a
// point of its caption. Fail the case when the window has none.
POINT CloseBoxPoint(HWND window);
POINT MinimizeBoxPoint(HWND window);
POINT SystemMenuPoint(HWND window);
POINT CaptionPoint(HWND window);

// Activates `window` the way a person does, by clicking its caption, and waits
// until it is the foreground window.
void ActivateByCaptionClick(HWND window);

}  // namespace lk::e2e
