#include "ui/toolbar/font_choice.h"

#include "text/trim.h"

namespace lk::ui::toolbar {

void ApplyFontToOffice(platform::Shell& shell, const std::string& targetName, const std::string& fontName) {
  using platform::OfficeApplication;
  using text::ContainsIgnoreCase;
  if (ContainsIgnoreCase(targetName, "Microsoft Word") &&
      shell.SetSelectionFont(OfficeApplication::kWord, fontName) == platform::AutomationResult::kUnreachable)
    return;
  if (ContainsIgnoreCase(targetName, "Microsoft Excel")) shell.SetSelectionFont(OfficeApplication::kExcel, fontName);
}

}  // namespace lk::ui::toolbar
