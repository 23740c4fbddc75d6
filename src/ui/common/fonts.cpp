#include "ui/common/fonts.h"

#include <string>

#include "platform/win32/wide_text.h"
#include "ui/common/dpi.h"

namespace lk::ui {

platform::UniqueFont MakeFont(std::string_view face, double points, bool bold, UINT dpi) {
  LOGFONTW lf{};
  lf.lfHeight = PointsToFontHeight(points, dpi);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  const std::wstring name = platform::FromUtf8(face);
  lstrcpynW(lf.lfFaceName, name.c_str(), LF_FACESIZE);
  return platform::UniqueFont(::CreateFontIndirectW(&lf));
}

void SetClosedHeight(HWND combo, int pixels) {
  const int field = pixels - 2 * ::GetSystemMetrics(SM_CYEDGE) - 2;
  if (field > 0) ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
}

}  // namespace lk::ui
