#include "ui/documents/document_conversion_win.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "documents/document_file.h"
#include "platform/win32/wide_text.h"
#include "ui/common/dpi.h"
#include "ui/common/fonts.h"
#include "ui/layout/control_ids.h"

namespace lk::ui::documents {
namespace {

constexpr wchar_t kClass[] = L"LekhopakarDocuments";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Topmost from birth, like the toolbar it belongs to: under Wine a later
// HWND_TOPMOST request does not stick.
constexpr DWORD kExStyle = WS_EX_TOPMOST;
// The worker's nudge: reports are waiting in the queue.
constexpr UINT kReportsWaiting = WM_APP + 1;

constexpr int kClientWidth = 7800;  // twips
// File names may be Devanagari, which the design face may lack: they are
// shown in the Unicode font converted text is given.
constexpr double kNamesPoints = 9;
constexpr int kClientHeight = 4800;

constexpr ControlDesign kControls[] = {
    {.id = id::kHeading, .kind = ControlKind::kLabel, .rect = {240, 180, 7320, 300}, .bold = true},
    {.id = id::kCurrentFile, .kind = ControlKind::kLabel, .rect = {240, 500, 7320, 340}, .pickedFont = true},
    {.id = id::kProgress, .kind = ControlKind::kProgressBar, .rect = {240, 900, 7320, 300}},
    {.id = id::kSummary, .kind = ControlKind::kField, .rect = {240, 1380, 7320, 2640}, .pickedFont = true,
     .wraps = true, .readOnly = true},
    {.id = id::kOpenFolder, .kind = ControlKind::kPushButton, .rect = {240, 4200, 1800, 420}, .text = "Open folder"},
    {.id = id::kCancel, .kind = ControlKind::kPushButton, .rect = {5760, 4200, 1800, 420}, .text = "Cancel"},
};

// An edit box breaks lines at CR LF only.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

ConversionWindow::ConversionWindow(platform::Shell& shell, Batch batch)
    : shell_(shell), batch_(std::move(batch)) {}

ConversionWindow::~ConversionWindow() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

bool ConversionWindow::Start(HWND owner, const lk::documents::ConvertSettings& settings) {
  RegisterClassOnce(kClass, 0, nullptr, nullptr, ::GetSysColorBrush(COLOR_BTNFACE));
  const std::wstring caption = platform::FromUtf8(
      "Convert documents to " +
      (settings.direction == convert::Direction::kToUnicode
           ? std::string("Unicode")
           : std::string(convert::LegacyFontName(settings.options.font))));
  if (!CreateWindowFor(kClass, kExStyle, caption.c_str(), kStyle, 0, 0, 1, 1, owner, nullptr)) return false;
  if (HICON icon = reinterpret_cast<HICON>(::SendMessageW(owner, WM_GETICON, ICON_SMALL, 0)))
    ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  fonts_ = DesignFonts(DpiOf(hwnd()));
  for (const auto& design : kControls) CreateControl(hwnd(), design, fonts_);
  namesFace_ = settings.unicodeFont;
  SetNamesFont();
  ::SendDlgItemMessageW(hwnd(), id::kProgress, PBM_SETRANGE32, 0, static_cast<LPARAM>(batch_.Total()));
  ::EnableWindow(::GetDlgItem(hwnd(), id::kOpenFolder), FALSE);
  Show();
  Place(owner);
  ::SetFocus(::GetDlgItem(hwnd(), id::kCancel));

  // The worker gets its own copies: the window's batch is the window's.
  const HWND window = hwnd();
  worker_ = std::thread([this, window, jobs = batch_.jobs(), settings] {
    try {
      RunJobs(jobs, settings, cancel_, &lk::documents::ConvertDocumentFile, [this, window](const Report& report) {
        {
          std::lock_guard lock(reportsLock_);
          reports_.push_back(report);
        }
        ::PostMessageW(window, kReportsWaiting, 0, 0);
      });
    } catch (...) {
      // Only a failing queue gets here; the window then shows the run as it
      // last heard of it rather than the program ending.
    }
  });
  return true;
}

void ConversionWindow::SetNamesFont() {
  // The old font lives until both controls hold the new one.
  platform::UniqueFont font = MakeFont(namesFace_, kNamesPoints, false, fonts_.dpi());
  for (int control : {id::kCurrentFile, id::kSummary})
    ::SendDlgItemMessageW(hwnd(), control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  namesFont_ = std::move(font);
}

void ConversionWindow::Place(HWND owner) {
  // Centred on the work area of the toolbar's monitor.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& area = monitor.rcWork;
  const SIZE outer = OuterSizeForClient(kClientWidth, kClientHeight, kStyle, kExStyle, fonts_.dpi());
  const int x = area.left + (area.right - area.left - outer.cx) / 2;
  const int y = area.top + (area.bottom - area.top - outer.cy) / 2;
  ::SetWindowPos(hwnd(), HWND_TOPMOST, x, y, outer.cx, outer.cy, SWP_SHOWWINDOW);
}

void ConversionWindow::Cancel() {
  if (finished_) return;
  cancel_ = true;
  batch_.RequestCancel();
  ::EnableWindow(::GetDlgItem(hwnd(), id::kCancel), FALSE);
  Show();
}

void ConversionWindow::TakeReports() {
  std::deque<Report> taken;
  {
    std::lock_guard lock(reportsLock_);
    taken.swap(reports_);
  }
  for (const auto& report : taken) batch_.Apply(report);
  Show();
  if (!finished_ && batch_.Finished()) Finish();
}

void ConversionWindow::Show() {
  platform::SetUtf8Text(::GetDlgItem(hwnd(), id::kHeading), batch_.Heading());
  platform::SetUtf8Text(::GetDlgItem(hwnd(), id::kCurrentFile), batch_.CurrentName());
  ::SendDlgItemMessageW(hwnd(), id::kProgress, PBM_SETPOS, static_cast<WPARAM>(batch_.Done()), 0);
  HWND summary = ::GetDlgItem(hwnd(), id::kSummary);
  const std::string text = WithCrLf(batch_.Summary());
  if (platform::GetUtf8Text(summary) != text) platform::SetUtf8Text(summary, text);
}

void ConversionWindow::Finish() {
  finished_ = true;
  if (worker_.joinable()) worker_.join();
  HWND close = ::GetDlgItem(hwnd(), id::kCancel);
  ::SetWindowTextW(close, L"Close");
  ::EnableWindow(close, TRUE);
  ::EnableWindow(::GetDlgItem(hwnd(), id::kOpenFolder), batch_.FolderToOpen().has_value());
  ::SetFocus(close);
}

LRESULT ConversionWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kReportsWaiting:
      TakeReports();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) break;
      if (LOWORD(wParam) == id::kCancel) {
        if (finished_) ::DestroyWindow(hwnd());
        else Cancel();
      } else if (LOWORD(wParam) == id::kOpenFolder) {
        if (const auto folder = batch_.FolderToOpen()) shell_.OpenFolder(*folder);
      }
      return 0;
    case WM_CLOSE:
      // Mid-run the close box cancels: what was converted stays, and the
      // window shows it before it goes.
      if (finished_) ::DestroyWindow(hwnd());
      else Cancel();
      return 0;
    case WM_DPICHANGED: {
      PlaceControls(hwnd(), kControls, fonts_, MoveForDpiChange(hwnd(), wParam, lParam));
      SetNamesFont();
      return 0;
    }
    default:
      break;
  }
  return Default(msg, wParam, lParam);
}

void ConversionRuns::Start(HWND owner, platform::Shell& shell, const std::vector<std::filesystem::path>& inputs,
                           const lk::documents::ConvertSettings& settings, const std::string& target) {
  std::erase_if(windows_, [](const auto& window) { return window->Closed(); });
  if (inputs.empty()) return;
  auto window = std::make_unique<ConversionWindow>(shell, Batch(MakeJobs(inputs, settings), target));
  if (window->Start(owner, settings)) windows_.push_back(std::move(window));
}

void ConversionRuns::CloseAll() {
  // Each window cancels its run and waits for its worker as it goes; a file
  // in progress is removed by its converter, the finished ones stay.
  windows_.clear();
}

}  // namespace lk::ui::documents
