#pragma once
// The one place where legacy-font text meets the window system's UTF-16.
#include <windows.h>

#include <string>
#include <string_view>

namespace lk::win32 {

std::wstring Wide(std::string_view legacy);
std::string Legacy(std::wstring_view wide);

std::string GetText(HWND hwnd);
void SetText(HWND hwnd, std::string_view legacy);

}  // namespace lk::win32
