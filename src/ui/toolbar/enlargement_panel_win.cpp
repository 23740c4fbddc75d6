#include "ui/toolbar/enlargement_panel_win.h"

#include "platform/win32/wide_text.h"
#include "ui/common/colour_win.h"
#include "ui/common/dpi.h"
#include "ui/toolbar/enlargement_panel.h"
#include "ui/toolbar/toolbar_layout.h"

namespace lk::ui::toolbar {
namespace {
constexpr wchar_t kClass[] = L"LekhopakarPanel";
}

void EnlargementPanel::Create(HWND parent, int id) {
  RegisterClassOnce(kClass, 0, ::LoadCursorW(nullptr, IDC_SIZEALL), nullptr, nullptr);
  background_.reset(::CreateSolidBrush(ToColorRef(kLightCyan)));
  CreateWindowFor(kClass, WS_EX_CLIENTEDGE, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 1, 1, parent, platform::AsMenu(id));
}

void EnlargementPanel::SetFont(HFONT font) {
  font_ = font;
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void EnlargementPanel::ShowCharacter(unsigned char code) {
  code_ = code;
  ::ShowWindow(hwnd(), SW_SHOW);
  ::SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void EnlargementPanel::Paint() {
  platform::PaintDc paint(hwnd());
  RECT client;
  ::GetClientRect(hwnd(), &client);
  ::FillRect(paint.get(), &client, background_.get());
  if (code_ < 0) return;
  const UINT dpi = DpiOf(hwnd());
  const auto toTwips = [dpi](int pixels) { return ::MulDiv(pixels, kTwipsPerInch, static_cast<int>(dpi)); };
  platform::Selected font(paint.get(), font_);
  const std::wstring character = platform::Wide(std::string(1, static_cast<char>(code_)));
  SIZE extent{};
  ::GetTextExtentPoint32W(paint.get(), character.c_str(), 1, &extent);
  const int x = CentredStart(toTwips(client.right), toTwips(extent.cx));
  const int y = CentredStart(toTwips(client.bottom), toTwips(extent.cy));
  ::SetBkMode(paint.get(), TRANSPARENT);
  for (const auto& layer : kPanelLayers) {
    ::SetTextColor(paint.get(), RGB(layer.r, layer.g, layer.b));
    ::TextOutW(paint.get(), TwipsToPixels(x + layer.offsetTwips, dpi), TwipsToPixels(y + layer.offsetTwips, dpi),
               character.c_str(), 1);
  }
}

LRESULT EnlargementPanel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_MOUSEACTIVATE:
      // Looked at and dragged aside, never typed into: the user's window stays in front.
      return MA_NOACTIVATE;
    case WM_RBUTTONDOWN:
      ::ShowWindow(hwnd(), SW_HIDE);
      return 0;
    case WM_LBUTTONDOWN:
      // The system's move loop drags the panel as if by a title bar; it
      // stays inside the toolbar because it is a child window. It returns
      // when the button is released.
      ::ReleaseCapture();
      ::SendMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
      return 0;
    default:
      return Default(msg, wParam, lParam);
  }
}

}  // namespace lk::ui::toolbar
