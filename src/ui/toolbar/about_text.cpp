#include "ui/toolbar/about_text.h"

#include <array>

namespace lk::ui::toolbar {

std::string AboutText() {
  constexpr std::string_view kSeparator = "--------------------------";
  const std::array<std::string_view, 21> lines = {
      " A Gift Form",
      "",
      "                  LEKHOPAKAR",
      "Made by a small team of volunteers who write Nepali every day",
      "                                                                 To all Nepali Font users",
      kSeparator,
      "",
      kSeparator,
      "[Legal Disclaimer]",
      kDisclaimer,
      kSeparator,
      "Right Click on text button to Enlarge ",
      "Right click on it to Hide, Drag to move",
      kSeparator,
      "Made by: the Lekhopakar volunteers",
      "Ward 10, New Baneshwor Marg",
      "Kathmandu, Nepal",
      kSeparator,
      "",
      "You can download this software from",
      "https://lekhopakar.example.org/download",
  };
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

}  // namespace lk::ui::toolbar
