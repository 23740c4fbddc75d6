#pragma once
#include <windows.h>

#include "platform/shell.h"

namespace lk::platform {

class Win32Shell : public Shell {
 public:
  // Message boxes are modal to this window (the toolbar) when none of ours
  // is active.
  void SetOwner(HWND owner) { owner_ = owner; }

  BoxAnswer ShowMessage(const std::string& text, BoxStyle style, const std::optional<std::string>& title) override;
  AutomationResult SetSelectionFont(OfficeApplication application, const std::string& fontName) override;
  std::vector<std::string> ScreenFonts() override;
  std::optional<std::string> ScreenFontNamed(const std::string& name) override;
  std::filesystem::path::string_type ProgramDirectory() override;
  bool OpenFolder(const std::filesystem::path& folder) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace lk::platform
