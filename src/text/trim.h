#pragma once
#include <string>
#include <string_view>

namespace lk::text {

// Trimming removes blanks (code 32) only; tabs and line breaks are part of the text.
std::string TrimBlanks(std::string_view s);
std::string TrimTrailingBlanks(std::string_view s);
// Blanks and tabs at both ends: the spacing around a setting's name or value.
std::string_view TrimSpacing(std::string_view s);

// ASCII letters only: section and key names are plain ASCII in every file we meet.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool ContainsIgnoreCase(std::string_view haystack, std::string_view needle);

}  // namespace lk::text
