#pragma once
// The Customize Buttons dialog's design in twips: every control's place,
// text, alignment, font and tooltip, and the identifiers automation relies
// on. The window code only binds these to controls.
#include <string_view>
#include <vector>

#include "ui/layout/twip_rect.h"
#include "ui/toolbar/toolbar_layout.h"

namespace lk::ui::customize {

using toolbar::Rgb;

inline constexpr std::string_view kCaption = "Customize Buttons";
inline constexpr int kClientWidth = 8112;
inline constexpr int kClientHeight = 5676;
inline constexpr int kLeft = 100;  // screen pixels, wherever the toolbar stands
inline constexpr int kTop = 100;

inline constexpr std::string_view kDialogFont = "MS Sans Serif";
inline constexpr double kDialogPoints = 8;
inline constexpr double kHeadingPoints = 13.8;
inline constexpr Rgb kHeadingColour{255, 0, 0};

// The swatch in the gap of blanks of the first help line: the colour of the
// toolbar's customizable buttons.
inline constexpr TwipRect kSwatchRect{705, 540, 300, 300};
inline constexpr Rgb kSwatchColour = toolbar::kLightCyan;

inline constexpr int kRows = 5;     // buttons 1-5, one row of fields each
inline constexpr int kColumns = 6;  // Index 0-5 within a row

namespace id {
// Row N (1-5), Index k (0-5).
constexpr int Field(int row, int index) { return 300 + 10 * row + index; }
inline constexpr int kCharacter = 360;  // Text6
inline constexpr int kRepeat = 370;     // Text7
inline constexpr int kTooltip6 = 380;   // Text8
inline constexpr int kCaption6 = 390;   // Text9
inline constexpr int kFontList = 400;   // Combo1
inline constexpr int kSizeList = 410;   // Combo2
inline constexpr int kClose = 421;      // Command1
inline constexpr int kSave = 422;       // Command2
inline constexpr int kLoadDefault = 423;  // Command3
// Labels are not part of the public contract; Label N gets 500 + N so that
// each still has an identifier of its own.
constexpr int Label(int n) { return 500 + n; }
}  // namespace id

enum class Kind { kLabel, kField, kFontList, kSizeList, kButton };
enum class Align { kLeft, kCentre, kRight };
enum class FontRole {
  kDialog,   // MS Sans Serif 8 pt
  kHeading,  // bold, larger and red
  kStyled,   // the name and size picked in the two lists
};

struct ControlDesign {
  int id;
  Kind kind;
  TwipRect rect;
  std::string_view text;
  Align align;
  FontRole font;
  bool wraps;     // labels: broken into lines at word boundaries
  bool readOnly;  // fields: selectable and copyable, not typed into
  std::string_view tooltip;  // empty: none
};

// In creation order, which is also the tab order: the font list first, so it
// holds the focus when the dialog opens.
const std::vector<ControlDesign>& Controls();
const ControlDesign& Control(int controlId);

inline constexpr std::string_view kSizes[] = {"10", "12", "14", "18", "24"};

}  // namespace lk::ui::customize
