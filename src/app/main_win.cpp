// Program entry: settle the program directory, show the toolbar, and run the
// event loop until the toolbar closes.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "diagnostics/debug_log.h"
#include "platform/win32/win32_platform.h"
#include "settings/app_path.h"
#include "settings/settings_store.h"
#include "ui/common/modal_loop.h"
#include "ui/common/startup_trace_win.h"
#include "ui/toolbar/toolbar_win.h"

namespace {

// Automation of Word and Excel runs on this thread. Declared before every
// window-owning object, so COM shuts down only after the last of them is gone.
class ComApartment {
 public:
  ComApartment() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (initialised_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

// [Debug] Log=1 in LK.ini keeps LK.log beside it, for a user whose toolbar
// quietly does nothing. Opened before any window, so their failures count.
void OpenDebugLog(const std::filesystem::path& settingsFile) {
  const lk::settings::SettingsStore store(settingsFile);
  if (lk::settings::ReadSetting(store, "Debug", "Log", "0") == "1")
    lk::diagnostics::ProgramLog().Open(lk::diagnostics::LogFileBeside(settingsFile));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  lk::ui::TraceStartup("entry");
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
  ::InitCommonControlsEx(&controls);
  const ComApartment com;

  // The log first, so the platform's own windows can report their failures.
  const auto appPath = lk::settings::AppPathFrom(lk::platform::Win32Shell().ProgramDirectory());
  const auto settingsFile = lk::settings::SettingsFileIn(appPath);
  OpenDebugLog(settingsFile);
  lk::platform::Win32Platform platform;
  lk::ui::TraceStartup("platform ready");
  lk::ui::toolbar::ToolbarWindow toolbar(platform, lk::settings::SettingsStore(settingsFile));
  if (!toolbar.Create()) return 1;
  toolbar.Show();

  MSG msg{};
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (lk::ui::RouteAltF4(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
