#include "ui/toolbar/toolbar_layout.h"

#include <iterator>
#include <vector>

namespace lk::ui::toolbar {
namespace {

using enum ControlKind;

constexpr ControlDesign kStrip[] = {
    {.id = id::kFonts, .kind = kPickList, .rect = {5100, 2835, 1860, 315}, .face = kCyan, .points = kDesignPoints,
     .sorted = true},
    {.id = id::kTargetField, .kind = kField, .rect = {7065, 2850, 1875, 300},
     .tooltip = "  Double click here to change or refresh the application list  ", .face = kLightCyan,
     .points = kDesignPoints},
    {.id = id::kQuickText, .kind = kComboField, .rect = {7335, 2835, 2055, 315},
     .tooltip = "  Paste text here and  Hit Enter to Add   ", .face = kYellow, .points = kDesignPoints},
    {.id = id::kCommand1, .kind = kColouredButton, .rect = {1350, 2790, 420, 360}, .face = kLightCyan, .points = kDesignPoints},
    {.id = id::kCommand2, .kind = kColouredButton, .rect = {1755, 2790, 420, 360}, .face = kLightCyan, .points = kDesignPoints},
    {.id = id::kCommand3, .kind = kColouredButton, .rect = {2160, 2790, 555, 360}, .face = kLightCyan, .points = 9.6},
    {.id = id::kCommand4, .kind = kColouredButton, .rect = {2700, 2790, 555, 360}, .face = kLightCyan, .points = 9.6},
    {.id = id::kCommand5, .kind = kColouredButton, .rect = {3240, 2790, 555, 360}, .face = kLightCyan, .points = kDesignPoints},
    {.id = id::kCommand6, .kind = kColouredButton, .rect = {3780, 2790, 420, 360}, .face = kLightCyan, .points = kDesignPoints},
    {.id = id::kCommand7, .kind = kPushButton, .rect = {4185, 2790, 555, 360}, .text = "tr",
     .tooltip = "   Swaps the first word in selection with the remaining words   ", .points = 9.6},
    {.id = id::kCommand10, .kind = kColouredButton, .rect = {4725, 2790, 300, 360}, .text = "C",
     .tooltip = "  Customize Buttons...     ", .face = kLightCyan, .points = kDesignPoints, .bold = true},
    {.id = id::kMarker, .kind = kPicture, .rect = {9516, 2916, 84, 156},
     .tooltip = "  Click to insert the text in yellow    ", .points = kDesignPoints},
    {.id = id::kLogo, .kind = kPicture, .rect = {-30, 2760, 1365, 420}, .tooltip = "   <(;-)  ", .face = kGrey,
     .points = kDesignPoints},
};

// Index of the key in each row and column: the shifted digits of a US
// keyboard open row 0, the letters in keyboard order open rows 1 to 3.
constexpr int kGrid[kKeyRows][kKeyColumns] = {
    {1, 32, 3, 4, 5, 62, 6, 10, 8, 9, 13, 63, 145, 118, 119, 199,
     213, 215, 178, 120, 102, 140, 96, 134, 170, 163, 141, 143, 146, 147, 177, 97},
    {81, 87, 69, 82, 84, 89, 85, 79, 80, 99, 19, 162, 138, 30, 48, 180,
     31, 159, 49, 100, 149, 142, 121, 221, 109, 110, 111, 151, 125, 126, 179, 127},
    {65, 83, 68, 70, 71, 72, 74, 75, 27, 2, 7, 76, 44, 139, 45, 11,
     28, 29, 59, 60, 61, 91, 92, 93, 115, 113, 186, 101, 198, 166, 103, 167},
    {90, 88, 67, 86, 66, 78, 12, 14, 21, 22, 23, 24, 25, 137, 15, 17,
     168, 56, 47, 128, 183, 122, 169, 153, 152, 155, 188, 157, 158, 190, 223, 187},
    {51, 54, 53, 131, 50, 40, 105, 132, 94, 16, 52, 57, 55, 39, 43, 104,
     154, 165, 33, 37, 36, 216, 133, 46, 42, 58, 73, 26, 41, 124, 129, 77},
    {38, 148, 35, 64, 34, 184, 191, 20, 130, 18, 197, 123, 172, 189, 150, 135,
     117, 144, 173, 174, 171, 107, 185, 182, 175, 95, 106, 112, 114, 116, 176, 156},
    {192, 193, 194, 195, 196, 160, 161, 164, 200, 201, 202, 203, 204, 205, 206, 207,
     208, 209, 210, 211, 212, 181, 214, 98, 217, 136, 218, 219, 220, 108, 222, 0},
};

}  // namespace

std::span<const ControlDesign> BottomStrip() { return kStrip; }

int KeyIndexAt(int row, int column) { return kGrid[row][column]; }

TwipRect KeyRect(int row, int column) {
  return {75 + (315 - kKeyOverlap) * column, (405 - kKeyOverlap) * row, 315, 405};
}

ControlDesign KeyDesign(int row, int column) {
  // Drawn in the picked font, or the design font until one is picked: the
  // window hands the key its font when drawing it.
  return {.id = id::kFirstKey + KeyIndexAt(row, column), .kind = kKey, .rect = KeyRect(row, column),
          .pickedFont = true};
}

std::span<const ControlDesign> Controls() {
  static const std::vector<ControlDesign> all = [] {
    std::vector<ControlDesign> v(std::begin(kStrip), std::end(kStrip));
    for (int row = 0; row < kKeyRows; ++row)
      for (int column = 0; column < kKeyColumns; ++column) v.push_back(KeyDesign(row, column));
    return v;
  }();
  return all;
}

}  // namespace lk::ui::toolbar
