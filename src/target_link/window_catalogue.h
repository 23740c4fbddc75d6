#pragma once
// The running applications a user can choose as the target: every top-level
// window that is a real, visible, enabled window with a title, but for the
// desktop shell and our own two windows.
#include <string>
#include <vector>

#include "platform/other_windows.h"

namespace lk::target_link {

struct CatalogueEntry {
  std::string text;  // the title without leading and trailing blanks
  platform::WindowHandle window = 0;
};

// Front to back, as the window system enumerates them; equal titles give
// equal entries with different windows.
std::vector<CatalogueEntry> ListWindows(platform::Windows& windows);

}  // namespace lk::target_link
