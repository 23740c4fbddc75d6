#pragma once
// What a dialog's window is, apart from its controls: its caption, its
// client area in twips and where it first shows.
#include <string_view>

namespace lk::ui {

struct DialogDesign {
  std::string_view caption;
  int clientWidth;  // twips
  int clientHeight;
  int left;  // screen pixels of the first showing, wherever the toolbar stands
  int top;
};

}  // namespace lk::ui
