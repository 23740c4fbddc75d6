#pragma once
// The Select Application dialog without its window: the list it shows, and
// what pointing at an entry, OK and Refresh do.
#include <string>
#include <vector>

#include "platform/platform.h"
#include "target_link/window_catalogue.h"

namespace lk::ui::select_application {

class SelectApplicationModel {
 public:
  explicit SelectApplicationModel(platform::Platform& platform) : platform_(platform) {}

  // Appends the running applications; the list is never cleared here.
  void Fill();
  // A fresh list: any selection is lost.
  void Refresh();
  // Flashes the window an entry stands for, so the user sees which it is.
  void PointOut(int index);

  enum class Outcome { kStayOpen, kClose };
  // OK with the selected entry: its text goes to the target field. With none
  // selected the user is asked whether to close all the same.
  Outcome Ok(int selected, std::string& targetField);

  const std::vector<target_link::CatalogueEntry>& entries() const { return entries_; }

 private:
  platform::Platform& platform_;
  std::vector<target_link::CatalogueEntry> entries_;
};

}  // namespace lk::ui::select_application
