#pragma once
// The Select Application dialog without its window: the list it shows, and
// what pointing at an entry, OK and Refresh do.
#include <string>
#include <vector>

#include "platform/other_windows.h"
#include "platform/shell.h"
#include "target_link/window_catalogue.h"

namespace lk::ui::select_application {

class SelectApplicationModel {
 public:
  SelectApplicationModel(platform::Windows& windows, platform::Shell& shell) : windows_(windows), shell_(shell) {}

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
  platform::Windows& windows_;
  platform::Shell& shell_;
  std::vector<target_link::CatalogueEntry> entries_;
};

}  // namespace lk::ui::select_application
