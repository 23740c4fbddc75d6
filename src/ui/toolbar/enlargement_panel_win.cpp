#include "ui/toolbar/enlargement_panel_win.h"

#include "platform/win32/win32_platform.h"
#include "ui/toolbar/toolbar_layout.h"

namespace lk::ui::toolbar {
namespace {
constexpr wchar_t kClass[] = L"LekhopakarPanel";
}

void EnlargementPanel::Create(HWND parent, int id) {
  RegisterClassOnce(kClass, 0, ::LoadCursorW(nullptr, IDC_SIZEALL), nullptr, nullptr);
  background_.reset(::CreateSolidBrush(RGB(kLightCyan.r, kLightCyan.g, kLightCyan.b)));
  CreateWindowFor(kClass, WS_EX_CLIENTEDGE, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 1, 1, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

LRESULT EnlargementPanel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT client;
      ::GetClientRect(hwnd(), &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, background_.get());
      return 1;
    }
    case WM_RBUTTONDOWN:
      ::ShowWindow(hwnd(), SW_HIDE);
      return 0;
    case WM_LBUTTONDOWN:
      // The system's move loop drags the panel as if by a title bar; it
      // stays inside the toolbar because it is a child window.
      platform_.DragWindow(platform::FromHwnd(hwnd()));
      return 0;
    default:
      return Default(msg, wParam, lParam);
  }
}

}  // namespace lk::ui::toolbar
