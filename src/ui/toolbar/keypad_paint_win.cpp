#include "ui/toolbar/keypad_paint_win.h"

#include "ui/common/owner_draw_button.h"

namespace lk::ui::toolbar {
namespace {

// GetDCEx / ReleaseDC.
class WindowDc {
 public:
  WindowDc(HWND hwnd, DWORD flags) : hwnd_(hwnd), dc_(::GetDCEx(hwnd, nullptr, flags)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// SaveDC / RestoreDC.
class SavedDc {
 public:
  explicit SavedDc(HDC dc) : dc_(dc), saved_(::SaveDC(dc)) {}
  ~SavedDc() {
    if (saved_) ::RestoreDC(dc_, saved_);
  }
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;

 private:
  HDC dc_;
  int saved_;
};

}  // namespace

void PaintKeypadAtOnce(HWND toolbar, std::span<const HWND> keys, HBRUSH background, COLORREF face, HFONT font) {
  // Without DCX_CLIPCHILDREN: this one context reaches into every key.
  const WindowDc dc(toolbar, DCX_CACHE | DCX_CLIPSIBLINGS);
  if (!dc.get()) return;
  RECT keypad{};
  for (HWND key : keys) {
    RECT r{};
    if (!key || !::GetClientRect(key, &r)) continue;
    ::MapWindowPoints(key, toolbar, reinterpret_cast<POINT*>(&r), 2);
    ::UnionRect(&keypad, &keypad, &r);
  }
  // The gaps between the keys, as the toolbar's erase paints them.
  ::FillRect(dc.get(), &keypad, background);
  for (HWND key : keys) {
    RECT r{};
    if (!key || !::GetClientRect(key, &r)) continue;
    ::MapWindowPoints(key, toolbar, reinterpret_cast<POINT*>(&r), 2);
    // A caption wider than its key is cut at its edge, as in its own paint.
    const SavedDc saved(dc.get());
    ::IntersectClipRect(dc.get(), r.left, r.top, r.right, r.bottom);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(::GetDlgCtrlID(key));
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = key;
    item.hDC = dc.get();
    item.rcItem = r;
    DrawColouredButton(item, face, font);
  }
  ::RedrawWindow(toolbar, &keypad, nullptr, RDW_VALIDATE | RDW_NOERASE | RDW_ALLCHILDREN);
}

}  // namespace lk::ui::toolbar
