#include "ui/toolbar/toolbar_layout.h"

#include <stdexcept>

namespace lk::ui::toolbar {
namespace {

constexpr std::array<ControlSpec, 13> kStrip = {{
    {id::kLogo, Kind::kLogo, {-30, 2760, 1365, 420}, kGrey, 7.8, false, "", "   <(;-)  "},
    {101, Kind::kCustomButton, {1350, 2790, 420, 360}, kLightCyan, 7.8, false, "", ""},
    {102, Kind::kCustomButton, {1755, 2790, 420, 360}, kLightCyan, 7.8, false, "", ""},
    {103, Kind::kCustomButton, {2160, 2790, 555, 360}, kLightCyan, 9.6, false, "", ""},
    {104, Kind::kCustomButton, {2700, 2790, 555, 360}, kLightCyan, 9.6, false, "", ""},
    {105, Kind::kCustomButton, {3240, 2790, 555, 360}, kLightCyan, 7.8, false, "", ""},
    {106, Kind::kCustomButton, {3780, 2790, 420, 360}, kLightCyan, 7.8, false, "", ""},
    {id::kCommand7, Kind::kPlainButton, {4185, 2790, 555, 360}, std::nullopt, 9.6, false, "tr",
     "   Swaps the first word in selection with the remaining words   "},
    {id::kCommand10, Kind::kCustomButton, {4725, 2790, 300, 360}, kLightCyan, 7.8, true, "C",
     "  Customize Buttons...     "},
    {id::kFonts, Kind::kFontList, {5100, 2835, 1860, 315}, kCyan, 7.8, false, "", ""},
    {id::kTargetField, Kind::kTargetField, {7065, 2850, 1875, 300}, kLightCyan, 7.8, false, "",
     "  Double click here to change or refresh the application list  "},
    {id::kQuickText, Kind::kQuickText, {7335, 2835, 2055, 315}, kYellow, 7.8, false, "",
     "  Paste text here and  Hit Enter to Add   "},
    {id::kMarker, Kind::kMarker, {9516, 2916, 84, 156}, std::nullopt, 7.8, false, "",
     "  Click to insert the text in yellow    "},
}};

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

const std::array<ControlSpec, 13>& BottomStrip() { return kStrip; }

const ControlSpec& Control(int controlId) {
  for (const auto& c : kStrip)
    if (c.id == controlId) return c;
  throw std::out_of_range("no such toolbar control");
}

int KeyIndexAt(int row, int column) { return kGrid[row][column]; }

TwipRect KeyRect(int row, int column) { return {75 + 300 * column, 390 * row, 315, 405}; }

}  // namespace lk::ui::toolbar
