#include "target/target_check.h"

#include "text/number.h"

namespace lk::target {

bool CheckTarget(platform::Platform& platform, TargetUi& ui) {
  namespace box = platform::box;
  const std::string name = ui.TargetName();
  if (name.empty()) {
    platform.ShowMessageBox("Please select the one of the running application to use with this application.",
                            box::kIconInformation, "Lekhopakar");
    ui.OpenSelectApplication();
    return false;
  }
  const auto activation = platform.ActivateWindowByTitle(name);
  if (activation.code == kNoWindowMatches) {
    platform.ShowMessageBox(name +
                                " is not running or this application was unable to detect it.\r\n"
                                "Please select the running application or refresh it.",
                            box::kIconStop, "Lekhopakar");
    ui.OpenSelectApplication();
    return false;
  }
  if (activation.code != 0) {
    platform.ShowMessageBox(text::NumberText(activation.code) + activation.description, box::kOk, std::nullopt);
    return false;
  }
  return true;
}

}  // namespace lk::target
