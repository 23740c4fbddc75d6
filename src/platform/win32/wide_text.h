#pragma once
// The one place where the program's texts meet the window system's UTF-16.
// Two kinds, never mixed: Unicode text (UTF-8 inside) for everything the
// system names (titles, font names, paths, the target name) and legacy-font
// text (Windows-1252 bytes) for glyph text, through our own table.
#include <windows.h>

#include <string>
#include <string_view>

namespace lk::platform {

std::wstring FromUtf8(std::string_view utf8);
std::string ToUtf8(std::wstring_view wide);
std::string GetUtf8Text(HWND hwnd);
void SetUtf8Text(HWND hwnd, std::string_view utf8);

// A window's text, and a combo box's item, as the system holds them.
std::wstring WindowText(HWND hwnd);
std::wstring ComboItemText(HWND combo, WPARAM index);

std::wstring Wide(std::string_view legacy);
std::string Legacy(std::wstring_view wide);
std::string GetText(HWND hwnd);
void SetText(HWND hwnd, std::string_view legacy);

}  // namespace lk::platform
