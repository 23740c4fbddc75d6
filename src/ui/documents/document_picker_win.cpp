#include "ui/documents/document_picker_win.h"

#include <commdlg.h>
#include <shellapi.h>

#include <memory>
#include <type_traits>

#include "platform/win32/wide_text.h"
#include "ui/documents/document_batch_model.h"

namespace lk::ui::documents {
namespace {

// Room for a few hundred picked names; the dialog says so when it is not enough.
constexpr DWORD kSelectionChars = 64 * 1024;

constexpr UINT kToUnicode = 1;
constexpr UINT kToLegacy = 2;

std::wstring Filter() {
  const std::wstring pattern = platform::FromUtf8(DialogPattern());
  std::wstring filter = L"Documents (" + pattern + L")";
  filter += L'\0';
  filter += pattern;
  filter += L'\0';
  filter += L"All files (*.*)";
  filter += L'\0';
  filter += L"*.*";
  filter += L'\0';
  return filter;  // the terminating pair's second NUL is the string's own
}

}  // namespace

std::vector<std::filesystem::path> PickDocuments(HWND owner, const std::string& title) {
  std::wstring selection(kSelectionChars, L'\0');
  const std::wstring filter = Filter();
  const std::wstring wideTitle = platform::FromUtf8(title);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = selection.data();
  dialog.nMaxFile = kSelectionChars;
  dialog.lpstrTitle = wideTitle.c_str();
  dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!::GetOpenFileNameW(&dialog)) return {};
  return SplitDialogSelection(selection.data(), selection.size());
}

void AcceptDroppedFiles(HWND window) {
  ::DragAcceptFiles(window, TRUE);
  // An elevated window takes no messages from a lower integrity level unless
  // let; a drop is these three (0x0049 is WM_COPYGLOBALDATA).
  for (UINT message : {UINT{WM_DROPFILES}, UINT{WM_COPYDATA}, UINT{0x0049}})
    ::ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
}

std::vector<std::filesystem::path> FilesOf(HDROP drop) {
  std::vector<std::filesystem::path> files;
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    if (::DragQueryFileW(drop, i, name.data(), length + 1) != length) continue;
    name.resize(length);
    files.emplace_back(name);
  }
  return files;
}

std::vector<std::filesystem::path> DroppedFiles(HDROP drop) {
  auto files = FilesOf(drop);
  ::DragFinish(drop);
  return files;
}

std::optional<convert::Direction> AskDirection(HWND owner, convert::LegacyFont family) {
  const std::unique_ptr<std::remove_pointer_t<HMENU>, decltype(&::DestroyMenu)> owned(::CreatePopupMenu(),
                                                                                      &::DestroyMenu);
  HMENU menu = owned.get();
  if (!menu) return std::nullopt;
  ::AppendMenuW(menu, MF_STRING, kToUnicode, L"Convert to Unicode");
  const std::wstring legacy = platform::FromUtf8("Convert to " + std::string(convert::LegacyFontName(family)));
  ::AppendMenuW(menu, MF_STRING, kToLegacy, legacy.c_str());
  POINT at{};
  ::GetCursorPos(&at);
  // A menu whose owner is not in front does not close when the person
  // clicks elsewhere.
  ::SetForegroundWindow(owner);
  const UINT chosen = static_cast<UINT>(
      ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTBUTTON | TPM_RIGHTBUTTON, at.x, at.y, 0, owner,
                       nullptr));
  if (chosen == kToUnicode) return convert::Direction::kToUnicode;
  if (chosen == kToLegacy) return convert::Direction::kToLegacy;
  return std::nullopt;
}

}  // namespace lk::ui::documents
