#pragma once
// What the target link needs from the toolbar's windows, so that it never
// depends on them directly.
#include <string>

namespace lk::target_link {

class TargetUi {
 public:
  virtual ~TargetUi() = default;
  // The target field's text at this moment.
  virtual std::string TargetName() = 0;
  // Opens the Select Application dialog with a fresh list and returns when
  // it has closed; it may have put a new name in the target field.
  virtual void OpenSelectApplication() = 0;
};

}  // namespace lk::target_link
