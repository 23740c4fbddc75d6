#include "target_link/target_check.h"

#include "text/number.h"

namespace lk::target_link {

platform::WindowHandle FindTargetWindow(platform::Platform& platform, const std::string& name) {
  platform::WindowHandle leading = 0;
  for (const auto window : platform.EnumTopLevelWindows()) {
    if (!platform.IsWindowVisible(window)) continue;
    const std::string title = platform.GetWindowTitle(window);
    if (title == name) return window;
    if (!leading && title.compare(0, name.size(), name) == 0) leading = window;
  }
  return leading;
}

platform::WindowHandle CheckTarget(platform::Platform& platform, TargetUi& ui) {
  namespace box = platform::box;
  const std::string name = ui.TargetName();
  if (name.empty()) {
    platform.ShowMessageBox("Please select the one of the running application to use with this application.",
                            box::kIconInformation, "Lekhopakar");
    ui.OpenSelectApplication();
    return 0;
  }
  const platform::WindowHandle window = FindTargetWindow(platform, name);
  const platform::Activation activation =
      window ? platform.ActivateWindow(window)
             : platform::Activation{platform::kNoSuchWindow, "Invalid procedure call or argument"};
  if (activation.code == platform::kNoSuchWindow) {
    platform.ShowMessageBox(name +
                                " is not running or this application was unable to detect it.\r\n"
                                "Please select the running application or refresh it.",
                            box::kIconStop, "Lekhopakar");
    ui.OpenSelectApplication();
    return 0;
  }
  if (activation.code != 0) {
    platform.ShowMessageBox(text::NumberText(activation.code) + activation.description, box::kOk, std::nullopt);
    return 0;
  }
  return window;
}

}  // namespace lk::target_link
