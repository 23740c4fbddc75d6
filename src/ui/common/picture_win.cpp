#include "ui/common/picture_win.h"

#include <windowsx.h>

namespace lk::ui {
namespace {
constexpr wchar_t kClass[] = L"LekhopakarPicture";
}

void PictureWindow::Create(HWND parent, int id, int bitmapResource, COLORREF background,
                           std::optional<COLORREF> transparentKey, bool fit) {
  fit_ = fit;
  RegisterClassOnce(kClass, 0, nullptr, nullptr, nullptr);
  background_ = background;
  key_ = transparentKey;
  bitmap_.reset(static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapResource),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  CreateWindowFor(kClass, 0, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 1, 1, parent, platform::AsMenu(id));
}

void PictureWindow::SetDpi(UINT dpi) {
  dpi_ = dpi;
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void PictureWindow::Paint() {
  platform::PaintDc paint(hwnd());
  RECT client;
  ::GetClientRect(hwnd(), &client);
  platform::UniqueBrush brush(::CreateSolidBrush(background_));
  ::FillRect(paint.get(), &client, brush.get());
  if (!bitmap_) return;
  BITMAP info{};
  ::GetObjectW(bitmap_.get(), sizeof(info), &info);
  platform::MemoryDc source(paint.get());
  platform::Selected picture(source.get(), bitmap_.get());
  const int width = fit_ ? client.right : ::MulDiv(info.bmWidth, static_cast<int>(dpi_), 96);
  const int height = fit_ ? client.bottom : ::MulDiv(info.bmHeight, static_cast<int>(dpi_), 96);
  ::SetStretchBltMode(paint.get(), COLORONCOLOR);
  if (key_)
    ::TransparentBlt(paint.get(), 0, 0, width, height, source.get(), 0, 0, info.bmWidth, info.bmHeight, *key_);
  else
    ::StretchBlt(paint.get(), 0, 0, width, height, source.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

LRESULT PictureWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEACTIVATE:
      // A picture's click pastes into the target or opens a box of its own:
      // either way the user's window stays in front until then.
      return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      ::SetCapture(hwnd());
      return 0;
    case WM_LBUTTONUP: {
      const bool wasPressed = pressed_;
      pressed_ = false;
      ::ReleaseCapture();
      RECT client;
      ::GetClientRect(hwnd(), &client);
      const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (wasPressed && ::PtInRect(&client, at)) {
        const int id = ::GetDlgCtrlID(hwnd());
        ::SendMessageW(::GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(id, STN_CLICKED),
                       reinterpret_cast<LPARAM>(hwnd()));
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      return 0;
    default:
      return Default(msg, wParam, lParam);
  }
}

}  // namespace lk::ui
