#include "platform/win32/win32_shell.h"

#include <shellapi.h>

#include <algorithm>

#include "platform/win32/handles.h"
#include "platform/win32/office_automation.h"
#include "platform/win32/wide_text.h"
#include "ui/layout/window_titles.h"

namespace lk::platform {
namespace {

// The system reports a family once per character set; each name is kept
// once, in the system's order.
int CALLBACK CollectFont(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param) {
  auto& names = *reinterpret_cast<std::vector<std::wstring>*>(param);
  // Vertical variants ("@Name") are not fonts a user picks.
  if (font->lfFaceName[0] != L'@' && std::find(names.begin(), names.end(), font->lfFaceName) == names.end())
    names.emplace_back(font->lfFaceName);
  return 1;
}

UINT BoxFlags(BoxStyle style) {
  UINT flags = MB_OK;
  switch (style.kind) {
    case BoxKind::kPlain:
      break;
    case BoxKind::kInformation:
      flags = MB_ICONINFORMATION;
      break;
    case BoxKind::kStop:
      flags = MB_ICONSTOP;
      break;
    case BoxKind::kYesNo:
      flags = MB_YESNO;
      break;
  }
  return style.systemModal ? flags | MB_SYSTEMMODAL | MB_TOPMOST : flags;
}

}  // namespace

BoxAnswer Win32Shell::ShowMessage(const std::string& text, BoxStyle style, const std::optional<std::string>& title) {
  const std::wstring wideTitle = platform::FromUtf8(title.value_or(std::string(ui::kProgramName)));
  // The system-modal box stands above every window, not only ours. Any other
  // is owned by whichever of our windows is active (a dialog over the
  // toolbar), so closing it does not re-enable a window a dialog has disabled.
  HWND active = ::GetActiveWindow();
  HWND owner = style.systemModal ? nullptr : active ? active : owner_;
  switch (::MessageBoxW(owner, platform::FromUtf8(text).c_str(), wideTitle.c_str(), BoxFlags(style))) {
    case IDYES:
      return BoxAnswer::kYes;
    case IDNO:
      return BoxAnswer::kNo;
    default:
      return BoxAnswer::kOk;
  }
}

AutomationResult Win32Shell::SetSelectionFont(OfficeApplication application, const std::string& fontName) {
  return SetOfficeSelectionFont(application == OfficeApplication::kWord ? L"Word.Application" : L"Excel.Application",
                                fontName);
}

std::vector<std::string> Win32Shell::ScreenFonts() {
  std::vector<std::wstring> names;
  if (const platform::WindowDc screen; screen) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExW(screen.get(), &query, &CollectFont, reinterpret_cast<LPARAM>(&names), 0);
  }
  std::vector<std::string> fonts;
  for (const auto& name : names) fonts.push_back(platform::ToUtf8(name));
  return fonts;
}

std::optional<std::string> Win32Shell::ScreenFontNamed(const std::string& name) {
  const std::wstring wide = platform::FromUtf8(name);
  LOGFONTW query{};
  // Longer than a face name can be: no such font.
  if (wide.empty() || wide.size() >= std::size(query.lfFaceName)) return std::nullopt;
  wide.copy(query.lfFaceName, wide.size());
  query.lfCharSet = DEFAULT_CHARSET;
  std::vector<std::wstring> names;
  if (const platform::WindowDc screen; screen) {
    ::EnumFontFamiliesExW(screen.get(), &query, &CollectFont, reinterpret_cast<LPARAM>(&names), 0);
  }
  if (names.empty()) return std::nullopt;
  return platform::ToUtf8(names.front());
}

std::filesystem::path::string_type Win32Shell::ProgramDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD got = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (got == 0) return {};
    if (got < path.size()) {
      path.resize(got);
      break;
    }
    path.resize(path.size() * 2);
  }
  const auto slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  // "C:\lekhopakar.exe" lies in "C:\", which keeps its backslash.
  const bool driveRoot = slash == 2 && path[1] == L':';
  path.resize(driveRoot ? slash + 1 : slash);
  return path;
}

bool Win32Shell::OpenFolder(const std::filesystem::path& folder) {
  // ShellExecute reports success as any value above 32.
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(owner_, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace lk::platform
