#pragma once
#include "platform/other_windows.h"

namespace lk::platform {

class Win32Windows : public Windows {
 public:
  std::vector<WindowHandle> EnumTopLevel() override;
  bool Exists(WindowHandle window) override;
  bool IsVisible(WindowHandle window) override;
  bool IsEnabled(WindowHandle window) override;
  std::string Title(WindowHandle window) override;
  std::string ClassName(WindowHandle window) override;
  void Flash(WindowHandle window) override;
  Activation Activate(WindowHandle window) override;
  WindowHandle Foreground() override;
  bool CatchUpWith(WindowHandle window, std::chrono::milliseconds bound) override;
  WindowHandle FocusedEditControl(WindowHandle window) override;
  bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) override;
};

}  // namespace lk::platform
