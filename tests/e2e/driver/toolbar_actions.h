#pragma once
// What a person does with the toolbar's own controls: clicks them, names the
// target in the target field, chooses a font from the list, and reads the
// captions back.
#include <windows.h>

#include <string>

#include "toolbar_process.h"

namespace lk::e2e {

void ClickControl(const Toolbar& toolbar, int id);

// Puts a name into the target field as a program would (WM_SETTEXT).
void SetTargetField(const Toolbar& toolbar, const std::wstring& text);
// Types a name into the target field by hand, over whatever it held.
void TypeTargetName(const Toolbar& toolbar, const std::wstring& name);

// Chooses `font` as a person does: a click drops the list down, a click on
// the entry chooses it. Only the entry clicked is ever selected, so the
// toolbar reacts to exactly one choice.
void ChooseFont(const Toolbar& toolbar, const std::wstring& font);

// Control `id` shows `expected` now, or (for the result of input) within
// `withinMs`.
void ExpectCaption(const Toolbar& toolbar, int id, const std::wstring& expected, DWORD withinMs = 0);

}  // namespace lk::e2e
