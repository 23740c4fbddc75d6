#include "ui/select_application/select_application_model.h"

namespace lk::ui::select_application {

void SelectApplicationModel::Fill() {
  for (auto& entry : target_link::ListWindows(windows_)) entries_.push_back(std::move(entry));
}

void SelectApplicationModel::Refresh() {
  entries_.clear();
  Fill();
}

void SelectApplicationModel::PointOut(int index) {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return;
  windows_.Flash(entries_[static_cast<std::size_t>(index)].window);
}

SelectApplicationModel::Outcome SelectApplicationModel::Ok(int selected, std::string& targetField) {
  if (selected < 0 || selected >= static_cast<int>(entries_.size())) {
    const auto answer = shell_.ShowMessage("You have not selected any application.\r\nContinue any way",
                                           {platform::BoxKind::kYesNo}, "Info");
    return answer == platform::BoxAnswer::kYes ? Outcome::kClose : Outcome::kStayOpen;
  }
  targetField = entries_[static_cast<std::size_t>(selected)].text;
  return Outcome::kClose;
}

}  // namespace lk::ui::select_application
