#pragma once
// Every window of the program is laid out in twips (1/1440 inch) and turned
// into pixels of the monitor it is on only when placed.

namespace lk::ui {

struct TwipRect {
  int left;
  int top;
  int width;
  int height;
};

}  // namespace lk::ui
