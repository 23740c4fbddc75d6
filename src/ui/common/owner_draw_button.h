#pragma once
// Graphical-style buttons with a face colour: drawn by us because themed
// push buttons ignore any colour we give them.
#include <windows.h>

namespace lk::ui {

void DrawColouredButton(const DRAWITEMSTRUCT& item, COLORREF face);

}  // namespace lk::ui
