#pragma once
#include <string>
#include <string_view>

namespace lk::text {

// Trimming removes blanks (code 32) only; tabs and line breaks are part of the text.
std::string TrimBlanks(std::string_view s);
std::string TrimTrailingBlanks(std::string_view s);

// ASCII letters only: section and key names are plain ASCII in every file we meet.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace lk::text
