#include "ui/select_application/select_application_layout.h"

namespace lk::ui::select_application {
namespace {

using enum ControlKind;

constexpr ControlDesign kControls[] = {
    {.id = id::kCancel, .kind = kPushButton, .rect = {1987, 2790, 1560, 420}, .text = "&Cancel"},
    {.id = id::kOk, .kind = kPushButton, .rect = {3645, 2790, 1560, 420}, .text = "&OK"},
    {.id = id::kRefresh, .kind = kPushButton, .rect = {360, 2790, 1560, 420}, .text = "&Refresh"},
    {.id = id::kList, .kind = kList, .rect = {375, 705, 4845, 1584}},
    {.id = id::kLabel,
     .kind = kLabel,
     .rect = {360, 75, 4845, 450},
     .text = "List of currently running applications, select one to use with this application or click Refresh to "
             "get new appliaction."},
};

}  // namespace

std::span<const ControlDesign> Controls() { return kControls; }

}  // namespace lk::ui::select_application
