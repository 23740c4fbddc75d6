#pragma once
// The two ways documents reach the toolbar: the system's file dialog, and
// files dropped from the file manager, which then ask what to become.
#include <windows.h>

#include <shellapi.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "convert/converter.h"
#include "convert/legacy_font.h"

namespace lk::ui::documents {

// The documents picked (several at once) in the open dialog titled `title`;
// empty when the person cancelled.
std::vector<std::filesystem::path> PickDocuments(HWND owner, const std::string& title);

// Lets files be dropped on `window`, also when we run elevated and the file
// manager does not.
void AcceptDroppedFiles(HWND window);
// The files a drop names.
std::vector<std::filesystem::path> FilesOf(HDROP drop);
// The files of a WM_DROPFILES, which is finished with here.
std::vector<std::filesystem::path> DroppedFiles(HDROP drop);

// A menu at the pointer asking which way dropped files go; none when the
// person dismissed it.
std::optional<convert::Direction> AskDirection(HWND owner, convert::LegacyFont family);

}  // namespace lk::ui::documents
