#pragma once
// The keypad's first sight in one pass.
#include <windows.h>

#include <span>

namespace lk::ui::toolbar {

// Draws every key as its own paint would, in one pass through one device
// context of the toolbar, and marks the keypad painted. Each of 224 keys
// painting itself costs its own trips to the window system (its update
// region, a device context), which under Wine took longer than notepad's
// whole start. Later presses and captions repaint key by key as usual. The
// keys must not be covered by a sibling.
void PaintKeypadAtOnce(HWND toolbar, std::span<const HWND> keys, HBRUSH background, COLORREF face, HFONT font);

}  // namespace lk::ui::toolbar
