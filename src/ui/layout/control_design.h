#pragma once
// One description of a child control for every window of the program: the
// toolbar and both dialogs are tables of these, in twips, and one factory
// turns an entry into a control. Tables are in creation order, which is also
// the tab order and, as each new child goes below its elder siblings, the
// stacking order where controls overlap.
#include <optional>
#include <span>
#include <string_view>

#include "ui/layout/rgb.h"
#include "ui/layout/twip_rect.h"

namespace lk::ui {

// The face of every design font. Wine has no such font and substitutes one,
// so nothing may depend on its metrics.
inline constexpr std::string_view kDesignFace = "MS Sans Serif";

enum class ControlKind {
  kLabel,           // static text
  kDrawnLabel,      // static text drawn by its window, so what lies behind can show through
  kField,           // one-line edit box
  kList,            // list box that reports picks
  kPickList,        // drop-down list: picked from, never typed into
  kComboField,      // drop-down list with a field to type in
  kPushButton,      // the system's button
  kColouredButton,  // drawn by its window in its face colour
  kKey,             // a keypad key: a coloured button outside the tab order
  kPicture,         // a bitmap window of our own: made by its window, placed like the rest
  kProgressBar,     // the system's progress bar
};

enum class Align { kLeft, kCentre, kRight };

struct ControlDesign {
  int id = 0;
  ControlKind kind = ControlKind::kLabel;
  TwipRect rect{};
  std::string_view text{};     // caption or label, legacy-font bytes
  std::string_view tooltip{};  // empty: none
  std::optional<Rgb> face{};   // none: the system's colour
  std::optional<Rgb> ink{};    // the text's colour; none: the system's
  double points = 8;           // the design font's size
  bool bold = false;
  bool pickedFont = false;     // drawn in the font the user picks, which its window sets
  Align align = Align::kLeft;
  bool wraps = false;          // labels and fields: broken into lines at word boundaries
  bool readOnly = false;       // fields: selectable and copyable, not typed into
  bool sorted = false;         // lists: entries kept in alphabetical order
};

constexpr bool IsTabStop(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel:
    case ControlKind::kDrawnLabel:
    case ControlKind::kKey:
    case ControlKind::kPicture:
    case ControlKind::kProgressBar:
      return false;
    default:
      return true;
  }
}

// nullptr when no control of the table has the identifier: ids reach us in
// messages, and a window procedure must not throw on a stranger.
constexpr const ControlDesign* FindControl(std::span<const ControlDesign> controls, int id) {
  for (const auto& c : controls)
    if (c.id == id) return &c;
  return nullptr;
}

}  // namespace lk::ui
