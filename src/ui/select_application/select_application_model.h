#pragma once
// The Select Application dialog without its window: the list it shows, and
// what pointing at an entry, OK and Refresh do.
#include <string>
#include <string_view>
#include <vector>

#include "platform/other_windows.h"
#include "platform/shell.h"
#include "target_link/window_catalogue.h"
#include "ui/layout/control_ids.h"
#include "ui/layout/twip_rect.h"

namespace lk::ui::select_application {

inline constexpr std::string_view kCaption = "Select Application";
inline constexpr int kClientWidth = 5604;
inline constexpr int kClientHeight = 3372;
inline constexpr int kLeft = 100;  // screen pixels, wherever the toolbar stands
inline constexpr int kTop = 300;

struct ControlSpec {
  int id;
  TwipRect rect;
  std::string_view text;
};

// In tab order: Cancel first, so it holds the focus when the dialog opens.
inline constexpr ControlSpec kControls[] = {
    {id::kCancel, {1987, 2790, 1560, 420}, "&Cancel"},
    {id::kOk, {3645, 2790, 1560, 420}, "&OK"},
    {id::kRefresh, {360, 2790, 1560, 420}, "&Refresh"},
    {id::kList, {375, 705, 4845, 1584}, ""},
    {id::kLabel, {360, 75, 4845, 450},
     "List of currently running applications, select one to use with this application or click Refresh to get new "
     "appliaction."},
};
// Two rules above the buttons: window-text colour, then window colour.
inline constexpr int kRuleLeft = 360;
inline constexpr int kRuleRight = 5220;
inline constexpr int kDarkRuleTop = 2550;
inline constexpr int kLightRuleTop = 2610;

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
