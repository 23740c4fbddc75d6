#pragma once
// Pictures for people to look at, taken from inside the virtual desktop.
#include <string>

namespace lk::e2e {

// The virtual desktop as it is drawn now, as a 24-bit BMP file; fails the
// case when it cannot be saved.
void SaveDesktop(const std::wstring& path);

}  // namespace lk::e2e
