#pragma once
// Turns a ControlDesign into a child control at a DPI: class, styles, id,
// caption, place and design font, the same way for the toolbar and the
// dialogs. A window re-places its controls through it when its DPI changes.
#include <windows.h>

#include <span>
#include <vector>

#include "platform/win32/handles.h"
#include "ui/common/tooltips.h"
#include "ui/layout/control_design.h"

namespace lk::ui {

// The design fonts of one window at one DPI: one font for each size and
// weight its controls name, made when first asked for.
class DesignFonts {
 public:
  explicit DesignFonts(UINT dpi = 96) : dpi_(dpi) {}
  UINT dpi() const { return dpi_; }
  HFONT Get(double points, bool bold);
  // nullptr for a control drawn in the picked font.
  HFONT For(const ControlDesign& design);

 private:
  struct Made {
    double points;
    bool bold;
    platform::UniqueFont font;
  };
  UINT dpi_;
  std::vector<Made> made_;
};

// Creates the control `design` describes, in place at the fonts' DPI and in its
// design font. A picture is a window class of our own that its window makes:
// for it nothing is created and nullptr comes back.
HWND CreateControl(HWND parent, const ControlDesign& design, DesignFonts& fonts);
// Moves a control to where `design` puts it at the fonts' DPI and hands it its
// design font: the fonts a window had before must outlive this call.
void PlaceControl(HWND control, const ControlDesign& design, DesignFonts& fonts);

// Every control of a table, each with its tooltip (a combo field's also on
// its edit box); pictures are left to the window.
void CreateControls(HWND parent, std::span<const ControlDesign> table, DesignFonts& fonts, Tooltips& tips);
// The same without tooltips, and the tooltips of controls made so, later.
void CreateControls(HWND parent, std::span<const ControlDesign> table, DesignFonts& fonts);
void SetTooltips(HWND parent, std::span<const ControlDesign> table, Tooltips& tips);
// Every control of a table at a new DPI; the old fonts live until all hold new ones.
void PlaceControls(HWND parent, std::span<const ControlDesign> table, DesignFonts& fonts, UINT dpi);

// The height of an entry of a list we draw: 16 pixels at 96 DPI.
int DrawnItemHeight(UINT dpi);

}  // namespace lk::ui
