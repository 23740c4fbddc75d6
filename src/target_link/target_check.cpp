#include "target_link/target_check.h"

#include "ui/layout/window_titles.h"

namespace lk::target_link {

platform::WindowHandle FindTargetWindow(platform::Windows& windows, const std::string& name) {
  platform::WindowHandle leading = 0;
  for (const auto window : windows.EnumTopLevel()) {
    if (!windows.IsVisible(window)) continue;
    const std::string title = windows.Title(window);
    if (title == name) return window;
    if (!leading && title.compare(0, name.size(), name) == 0) leading = window;
  }
  return leading;
}

platform::WindowHandle CheckTarget(const platform::Platform& platform, TargetUi& ui) {
  using platform::Activation;
  using platform::BoxKind;
  auto& shell = platform.shell;
  const std::string name = ui.TargetName();
  if (name.empty()) {
    shell.ShowMessage("Please select the one of the running application to use with this application.",
                      {BoxKind::kInformation}, std::string(ui::kProgramName));
    ui.OpenSelectApplication();
    return 0;
  }
  const platform::WindowHandle window = FindTargetWindow(platform.windows, name);
  // The user's window in front already, as a click on the toolbar leaves
  // it: asking for it again would only set its title bar and caret flickering.
  if (window && platform.windows.Foreground() == window) return window;
  if (!window || platform.windows.Activate(window) == Activation::kNoSuchWindow) {
    shell.ShowMessage(name +
                          " is not running or this application was unable to detect it.\r\n"
                          "Please select the running application or refresh it.",
                      {BoxKind::kStop}, std::string(ui::kProgramName));
    ui.OpenSelectApplication();
    return 0;
  }
  return window;
}

}  // namespace lk::target_link
