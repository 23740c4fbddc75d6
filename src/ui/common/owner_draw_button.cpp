#include "ui/common/owner_draw_button.h"

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"

namespace lk::ui {

void DrawColouredButton(const DRAWITEMSTRUCT& item, COLORREF face, HFONT font) {
  HDC dc = item.hDC;
  RECT rc = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;

  platform::UniqueBrush brush(::CreateSolidBrush(face));
  ::FillRect(dc, &rc, brush.get());
  ::DrawEdge(dc, &rc, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

  const std::wstring caption = platform::WindowText(item.hwndItem);
  if (!caption.empty()) {
    RECT textRect = rc;
    if (pressed) ::OffsetRect(&textRect, 1, 1);
    platform::Selected captionFont(dc, font ? font : reinterpret_cast<HGDIOBJ>(::SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    // No prefix processing: an "&" in a legacy-font caption is a glyph.
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = rc;
    ::InflateRect(&focus, -3, -3);
    ::DrawFocusRect(dc, &focus);
  }
}

}  // namespace lk::ui
