#pragma once
// The Customize Buttons dialog's design in twips: every control's place,
// text, alignment, font and tooltip, and the identifiers automation relies
// on. The window code only binds these to controls.
#include <string_view>
#include <vector>

#include "ui/layout/control_ids.h"
#include "ui/layout/rgb.h"
#include "ui/layout/twip_rect.h"

namespace lk::ui::customize {

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
inline constexpr Rgb kSwatchColour = kLightCyan;

inline constexpr int kRows = 5;     // buttons 1-5, one row of fields each
inline constexpr int kColumns = 6;  // Index 0-5 within a row

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
