#pragma once
// Graphical-style buttons with a face colour: drawn by us because themed
// push buttons ignore any colour we give them.
#include <windows.h>

namespace lk::ui {

// The caption is drawn in `font`, or in the button's own font when none is given.
void DrawColouredButton(const DRAWITEMSTRUCT& item, COLORREF face, HFONT font = nullptr);

}  // namespace lk::ui
