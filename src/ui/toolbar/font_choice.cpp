#include "ui/toolbar/font_choice.h"

#include <algorithm>
#include <cctype>

namespace lk::ui::toolbar {
namespace {

bool ContainsIgnoreCase(const std::string& haystack, const std::string& needle) {
  const auto lower = [](unsigned char c) { return std::tolower(c); };
  return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(), [&](char a, char b) {
           return lower(static_cast<unsigned char>(a)) == lower(static_cast<unsigned char>(b));
         }) != haystack.end();
}

}  // namespace

void ApplyFontToOffice(platform::Shell& shell, const std::string& targetName, const std::string& fontName) {
  using platform::OfficeApplication;
  if (ContainsIgnoreCase(targetName, "Microsoft Word") &&
      shell.SetSelectionFont(OfficeApplication::kWord, fontName) == platform::AutomationResult::kUnreachable)
    return;
  if (ContainsIgnoreCase(targetName, "Microsoft Excel")) shell.SetSelectionFont(OfficeApplication::kExcel, fontName);
}

}  // namespace lk::ui::toolbar
