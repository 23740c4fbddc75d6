#include "ui/customize/customize_layout.h"

#include <vector>

namespace lk::ui::customize {
namespace {

using enum ControlKind;

constexpr int kRowTops[kRows] = {1935, 2625, 3255, 3645, 4020};
constexpr int kColumnLefts[kColumns] = {255, 1245, 2265, 3285, 4470, 5535};
constexpr int kColumnWidths[kColumns] = {915, 915, 915, 1080, 915, 2370};
constexpr std::string_view kRowTooltips[kRows] = {"Button 1", "Button 2", "Button 3", "Button 4", "Button 5"};
constexpr double kHeadingPoints = 13.8;
constexpr Rgb kHeadingColour{255, 0, 0};

ControlDesign Label(int n, TwipRect rect, std::string_view text, Align align = Align::kLeft, bool wraps = false) {
  return {.id = id::Label(n), .kind = kDrawnLabel, .rect = rect, .text = text, .align = align, .wraps = wraps};
}

ControlDesign Field(int controlId, TwipRect rect, Align align, bool pickedFont, bool readOnly = false,
                  std::string_view tooltip = {}) {
  return {.id = controlId, .kind = kField, .rect = rect, .tooltip = tooltip, .pickedFont = pickedFont,
          .align = align, .readOnly = readOnly};
}

ControlDesign Button(int controlId, TwipRect rect, std::string_view text) {
  return {.id = controlId, .kind = kPushButton, .rect = rect, .text = text};
}

std::vector<ControlDesign> Build() {
  std::vector<ControlDesign> all;
  // Picked, never typed; the fonts keep the system's order.
  all.push_back({.id = id::kFontList, .kind = kPickList, .rect = {5355, 750, 1965, 315}});
  all.push_back({.id = id::kSizeList, .kind = kPickList, .rect = {7335, 750, 645, 315}});

  for (int row = 1; row <= kRows; ++row) {
    for (int index = 0; index < kColumns; ++index) {
      const int height = (index == 3 || index == 5) ? 345 : 315;
      const bool tooltipField = index == 5;
      all.push_back(Field(id::Field(row, index),
                          {kColumnLefts[index], kRowTops[row - 1], kColumnWidths[index], height},
                          tooltipField ? Align::kLeft : Align::kCentre, !tooltipField, index == 1 || index == 3,
                          index == 0 ? kRowTooltips[row - 1] : std::string_view{}));
    }
  }
  all.push_back(Field(id::kCharacter, {1290, 4605, 750, 360}, Align::kCentre, true));
  all.push_back(Field(id::kRepeat, {2880, 4605, 735, 360}, Align::kCentre, false));
  all.push_back(Field(id::kCaption6, {4485, 4605, 915, 330}, Align::kCentre, true));
  all.push_back(Field(id::kTooltip6, {5550, 4605, 2370, 360}, Align::kLeft, false));

  // Plain push buttons: none is the default or the cancel button.
  all.push_back(Button(id::kLoadDefault, {285, 5130, 1470, 345}, "&Load Default"));
  all.push_back(Button(id::kSave, {4680, 5130, 1470, 345}, "&Save"));
  all.push_back(Button(id::kClose, {6405, 5130, 1470, 345}, "&Close"));

  // Labels come last so that every field lies above a label it overlaps, and
  // a label whose text starts inside a help line's box comes before that
  // line, so it is stacked above it.
  ControlDesign heading = Label(15, {315, 195, 2220, 405}, "Customize");
  heading.ink = kHeadingColour;
  heading.points = kHeadingPoints;
  heading.bold = true;
  all.push_back(heading);
  all.push_back(Label(1, {240, 705, 5055, 525},
                      "Five              colored buttons are customizable. To customize them change the values in "
                      "text box below.",
                      Align::kLeft, true));
  all.push_back(Label(2, {240, 1605, 900, 285}, "Insertion", Align::kCentre));
  all.push_back(Label(4, {1080, 1605, 1230, 285}, "Selected Text", Align::kCentre));
  all.push_back(Label(3, {2265, 1620, 915, 285}, "Insertion", Align::kCentre));
  all.push_back(Label(5, {3270, 1635, 915, 285}, "Result", Align::kCentre));
  all.push_back(Label(6, {4425, 1635, 915, 285}, "Caption", Align::kCentre));
  all.push_back(Label(7, {5490, 1635, 1590, 285}, "Tool Tip Text", Align::kCentre));
  all.push_back(Label(11, {240, 1380, 7710, 300},
                      "1st button deletes 1st insertion and adds the 2nd insertion at the end of the selected text "
                      "or vice versa. "));
  all.push_back(Label(12, {255, 2340, 7725, 255},
                      "2nd button gets the last character of selected text and if it is 1st Insertion swaps it with "
                      "2nd or vice versa "));
  all.push_back(Label(13, {270, 3000, 7650, 300},
                      "Button 3rd, 4th and 5th, warps the selected text with the values in 1st and 2nd insertion. "));
  ControlDesign character = Label(8, {195, 4650, 990, 315}, "Character", Align::kRight);
  character.tooltip = "Button 6";
  all.push_back(character);
  all.push_back(Label(9, {2130, 4680, 705, 270}, "Repeat", Align::kRight));
  all.push_back(Label(10, {3645, 4680, 570, 255}, "Times"));
  all.push_back(
      Label(14, {255, 4380, 7665, 315}, "6th button types the specified character at specified number of times.  "));
  return all;
}

}  // namespace

std::span<const ControlDesign> Controls() {
  static const std::vector<ControlDesign> all = Build();
  return all;
}

}  // namespace lk::ui::customize
