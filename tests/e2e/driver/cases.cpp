// The end-to-end cases: each starts the exe in a fresh program folder, drives
// it with real input where a person would, and reads the results back from
// its windows and from LK.ini.
#include "cases.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "check.h"
#include "control_ids.h"
#include "input.h"
#include "popups.h"
#include "program_folder.h"
#include "session.h"
#include "toolbar_actions.h"
#include "toolbar_process.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {
namespace {

constexpr int kClientWidthTwips = 9768;
constexpr int kClientHeightTwips = 3192;

std::string Point(int x, int y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }

void ExpectPlacedAt(const Toolbar& toolbar, int x, int y) {
  RECT frame{};
  const bool placed = WaitUntil(
      [&] {
        frame = toolbar.Frame();
        return frame.left == x && frame.top == y;
      },
      kUiTimeoutMs);
  Expect(placed, "outer top-left corner is " + Point(frame.left, frame.top) + ", expected " + Point(x, y));
}

std::optional<std::wstring> SelectedFont(const Toolbar& toolbar) { return ComboSelectedText(toolbar.Control(kFonts)); }

std::string Describe(const std::optional<std::wstring>& selection) {
  return "font list selection is " + QuoteOr(selection, "no selection");
}

// --- placement and the window itself ------------------------------------

// A plain (not topmost) window of the driver's own, raised to the top of the
// normal windows over `area` without being activated: under Wine, a driver
// window that was the foreground window and is destroyed makes the next click
// on another program go astray.
class CoveringWindow {
 public:
  explicit CoveringWindow(const RECT& area) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = L"LkE2eCover";
    RegisterClassW(&windowClass);  // a second registration fails harmlessly
    window_ = CreateWindowExW(0, windowClass.lpszClassName, L"cover", WS_POPUP, area.left, area.top,
                              area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    Expect(window_ != nullptr, "cannot create the covering window");
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Pump();
  }
  ~CoveringWindow() {
    DestroyWindow(window_);
    Pump();
  }
  CoveringWindow(const CoveringWindow&) = delete;
  CoveringWindow& operator=(const CoveringWindow&) = delete;

  HWND Window() const { return window_; }

 private:
  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  HWND window_ = nullptr;
};

HWND RootAt(POINT point) { return GetAncestor(WindowFromPoint(point), GA_ROOT); }

void DefaultPlacementAndFrame(const Context& context) {
  ToolbarRun run(context);
  ExpectPlacedAt(run.toolbar, 0, 300);
  const auto style = GetWindowLongPtrW(run.toolbar.Window(), GWL_STYLE);
  Expect((style & WS_THICKFRAME) == 0, "the window can be resized (WS_THICKFRAME)");
  Expect((style & WS_MAXIMIZEBOX) == 0, "the window has a maximize box");
  Expect((style & WS_MINIMIZEBOX) != 0 && (style & WS_SYSMENU) != 0,
         "the window lacks its minimize box or system menu");
  run.toolbar.Close();
}

void TopmostAboveNormalWindows(const Context& context) {
  ToolbarRun run(context);
  const auto exStyle = GetWindowLongPtrW(run.toolbar.Window(), GWL_EXSTYLE);
  Expect((exStyle & WS_EX_TOPMOST) != 0, "the window is not topmost (no WS_EX_TOPMOST)");
  // A normal window raised over the toolbar and beyond it stays below it.
  RECT frame = run.toolbar.Frame();
  RECT area = frame;
  InflateRect(&area, 20, 20);
  CoveringWindow cover(area);
  const POINT beside{frame.right + 10, frame.top + 10};
  Expect(RootAt(beside) == cover.Window(), "the covering window is not on top beside the toolbar");
  const POINT inside = Centre(frame);
  Expect(RootAt(inside) == run.toolbar.Window(), "a normal window raised after the toolbar covers it");
  run.toolbar.Close();
}

void ClientSizeFollowsDpi(const Context& context) {
  ToolbarRun run(context);
  RECT client{};
  GetClientRect(run.toolbar.Window(), &client);
  const int width = TwipsToPixels(kClientWidthTwips, context.dpi);
  const int height = TwipsToPixels(kClientHeightTwips, context.dpi);
  Expect(std::abs(client.right - width) <= 1 && std::abs(client.bottom - height) <= 1,
         "client area is " + std::to_string(client.right) + "x" + std::to_string(client.bottom) +
             " px at " + std::to_string(context.dpi) + " DPI, expected " + std::to_string(width) +
             "x" + std::to_string(height) + " (+-1)");
  run.toolbar.Close();
}

// The toolbar starts where LK.ini places it.
Case PlacedAt(std::string name, std::string ini, int x, int y) {
  return {std::move(name), [=](const Context& context) {
            ToolbarRun run(context, ini);
            ExpectPlacedAt(run.toolbar, x, y);
            run.toolbar.Close();
          }};
}

void RestoreReturnsToStartPlace(const Context& context) {
  ToolbarRun run(context, "[WinPos]\r\nLeft= 40\r\nTop= 60\r\n");
  Toolbar& toolbar = run.toolbar;
  ExpectPlacedAt(toolbar, 40, 60);
  // Drag by the caption: the window follows the mouse.
  const POINT grip = CaptionPoint(toolbar.Window());
  LeftDrag(grip, {grip.x + 200, grip.y + 150});
  RECT frame{};
  Expect(WaitUntil(
             [&] {
               frame = toolbar.Frame();
               return frame.left == 240 && frame.top == 210;
             },
             kUiTimeoutMs),
         "after a drag by the caption the window stands at " + Point(frame.left, frame.top) +
             ", expected (240,210)");
  // Minimize with its box, restore it: it goes back to the stored place.
  LeftClickAt(MinimizeBoxPoint(toolbar.Window()));
  Expect(WaitUntil([&] { return IsIconic(toolbar.Window()) != 0; }, kUiTimeoutMs),
         "a click on the minimize box did not minimize the window");
  ShowWindowAsync(toolbar.Window(), SW_RESTORE);
  Expect(WaitUntil([&] { return !IsIconic(toolbar.Window()); }, kUiTimeoutMs), "the window was not restored");
  ExpectPlacedAt(toolbar, 40, 60);
  toolbar.Close();
}

// --- captions of the command buttons ------------------------------------

// Buttons 1 to 7 and "C" show `captions` from the start.
Case ShowsCaptions(std::string name, std::optional<std::string> ini, std::array<std::wstring, 8> captions) {
  return {std::move(name), [=](const Context& context) {
            ToolbarRun run(context, ini);
            constexpr int kIds[] = {kCommand1, kCommand2, kCommand3, kCommand4,
                                    kCommand5, kCommand6, kCommand7, kCommand10};
            for (std::size_t i = 0; i < captions.size(); ++i) ExpectCaption(run.toolbar, kIds[i], captions[i]);
            run.toolbar.Close();
          }};
}

// --- closing writes the position ----------------------------------------

// Moved to (x, y) and closed by its close box, the toolbar stores the place
// as `left` and `top` and keeps the other settings.
Case CloseBoxSavesPosition(int x, int y, std::string left, std::string top) {
  return {"close_box_saves_position_" + std::to_string(x) + "_" + std::to_string(y), [=](const Context& context) {
            ToolbarRun run(context, "[Customize]\r\ncap01=Q\r\n");
            ExpectPlacedAt(run.toolbar, 0, 300);
            run.toolbar.MoveTo(x, y);
            LeftClickAt(CloseBoxPoint(run.toolbar.Window()));
            run.toolbar.ExpectExit("after a click on the close box");
            ExpectIni(run.folder, "WinPos", "Left", left);
            ExpectIni(run.folder, "WinPos", "Top", top);
            ExpectIni(run.folder, "Customize", "cap01", "Q");
          }};
}

// --- the font list --------------------------------------------------------

void LastFontReselectedAndSavedViaSystemMenu(const Context& context) {
  const std::wstring font = L"DejaVu Sans";
  Expect(FontInstalled(font), "DejaVu Sans is not installed in this Wine prefix");
  ToolbarRun run(context, "[Font]\r\nLastFont=DejaVu Sans\r\n");
  const auto selection = SelectedFont(run.toolbar);
  Expect(selection == font, Describe(selection) + ", expected " + Quote(font));
  const std::wstring text = WindowText(run.toolbar.Control(kFonts));
  Expect(text == font, "font list text is " + Quote(text) + ", expected " + Quote(font));
  // Close through the system menu: a click on the window icon, then C(lose).
  LeftClickAt(SystemMenuPoint(run.toolbar.Window()));
  Expect(WaitUntil([&] { return !TopLevelWindows(run.toolbar.Pid(), L"", L"#32768").empty(); }, kUiTimeoutMs),
         "no system menu after a click on the window icon");
  PressKeys({'C'});
  run.toolbar.ExpectExit("after Close in the system menu");
  ExpectIni(run.folder, "Font", "LastFont", "DejaVu Sans");
}

void AltF4ClosesToolbar(const Context& context) {
  ToolbarRun run(context);
  run.toolbar.MoveTo(120, 45);
  // The focus stays where the toolbar put it at start (the font list).
  ActivateByCaptionClick(run.toolbar.Window());
  const HWND focus = FocusOf(run.toolbar.Window());
  PressKeys({VK_MENU, VK_F4});
  run.toolbar.ExpectExit("after Alt+F4 (keyboard focus in control " + std::to_string(GetDlgCtrlID(focus)) + ")");
  ExpectIni(run.folder, "WinPos", "Left", " 120");
  ExpectIni(run.folder, "WinPos", "Top", " 45");
}

void FontWithoutSettingsFile(const Context& context) {
  // Arial is selected when installed; Wine's font list usually lacks it.
  const bool arial = FontInstalled(L"Arial");
  ToolbarRun run(context);
  const auto selection = SelectedFont(run.toolbar);
  if (arial) {
    Expect(selection == L"Arial", Describe(selection) + ", expected \"Arial\" (installed)");
  } else {
    Expect(!selection, Describe(selection) + ", expected none (Arial is not installed)");
  }
  run.toolbar.Close();
  ExpectIni(run.folder, "Font", "LastFont", arial ? "Arial" : "");
}

void StoredFontNotInstalled(const Context& context) {
  ToolbarRun run(context, "[Font]\r\nLastFont=No Such Font Lk\r\n[WinPos]\r\nLeft= 10\r\nTop= 20\r\n");
  ExpectPlacedAt(run.toolbar, 10, 20);
  const auto selection = SelectedFont(run.toolbar);
  Expect(!selection, Describe(selection) + ", expected none");
  run.toolbar.Close();
  ExpectIni(run.folder, "Font", "LastFont", "");
}

void FontListIsSortedDropDownList(const Context& context) {
  ToolbarRun run(context);
  const Toolbar& toolbar = run.toolbar;
  HWND fonts = toolbar.Control(kFonts);
  Expect(ClassName(fonts) == L"ComboBox", "control 120 is a " + Narrow(ClassName(fonts)) +
                                              ", not a ComboBox");
  const auto style = GetWindowLongPtrW(fonts, GWL_STYLE);
  Expect((style & 3) == CBS_DROPDOWNLIST, "the font list is not a drop-down list");
  const int count = ComboCount(fonts);
  Expect(count > 0, "the font list is empty");
  std::set<std::wstring> seen;
  std::wstring previous;
  for (int i = 0; i < count; ++i) {
    const std::wstring name = ComboItem(fonts, i);
    Expect(!name.empty(), "font list entry " + std::to_string(i) + " is empty");
    Expect(seen.insert(name).second, "font list holds " + Quote(name) + " twice");
    Expect(i == 0 || CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, previous.c_str(), -1,
                                    name.c_str(), -1) != CSTR_GREATER_THAN,
           "font list is not sorted: " + Quote(previous) + " before " + Quote(name));
    previous = name;
  }
  if (FontInstalled(L"DejaVu Sans")) {
    Expect(ComboFindExact(fonts, L"DejaVu Sans") != CB_ERR,
           "the font list lacks the installed font \"DejaVu Sans\"");
  }
  run.toolbar.Close();
}

// --- keypad and enlargement panel ----------------------------------------

void PanelHiddenAtStart(const Context& context) {
  ToolbarRun run(context);
  Expect(!IsWindowVisible(run.toolbar.Control(kPanel)), "the enlargement panel is visible at start");
  run.toolbar.Close();
}

void KeypadGrid(const Context& context) {
  ToolbarRun run(context);
  const Toolbar& toolbar = run.toolbar;
  const UINT dpi = context.dpi;
  // Grid cell of every key, from its place in the client area.
  int cellIndex[7][32];
  for (auto& row : cellIndex) std::fill(std::begin(row), std::end(row), -1);
  for (int i = 0; i < kKeyCount; ++i) {
    HWND key = toolbar.Control(kFirstKey + i);
    Expect(IsWindowVisible(key), "keypad key " + std::to_string(kFirstKey + i) + " is hidden");
    const RECT rect = RectInClient(toolbar.Window(), key);
    const double leftTwips = rect.left * 1440.0 / dpi;
    const double topTwips = rect.top * 1440.0 / dpi;
    const int column = static_cast<int>(std::lround((leftTwips - 75) / 300));
    const int row = static_cast<int>(std::lround(topTwips / 390));
    Expect(column >= 0 && column < 32 && row >= 0 && row < 7,
           "keypad key " + std::to_string(kFirstKey + i) + " lies off the grid at " +
               Point(rect.left, rect.top));
    Expect(cellIndex[row][column] < 0, "keypad keys " + std::to_string(kFirstKey + i) + " and " +
                                           std::to_string(kFirstKey + cellIndex[row][column]) +
                                           " share row " + std::to_string(row) + " column " +
                                           std::to_string(column));
    cellIndex[row][column] = i;
  }
  // The grid's corners and the first keys of the rows (index = code - 32).
  const struct { int row, column, index; } samples[] = {
      {0, 0, 1}, {0, 1, 32}, {0, 31, 97}, {1, 0, 81}, {2, 0, 65},
      {3, 0, 90}, {6, 0, 192}, {6, 29, 108}, {6, 31, 0},
  };
  for (const auto& s : samples) {
    Expect(cellIndex[s.row][s.column] == s.index,
           "row " + std::to_string(s.row) + " column " + std::to_string(s.column) + " holds key " +
               std::to_string(kFirstKey + cellIndex[s.row][s.column]) + ", expected " +
               std::to_string(kFirstKey + s.index));
  }
  // Key 0 (code 32) at the bottom-right: its exact pixel rectangle.
  const RECT last = RectInClient(toolbar.Window(), toolbar.Control(kFirstKey));
  const RECT expected{TwipsToPixels(75 + 300 * 31, dpi), TwipsToPixels(390 * 6, dpi),
                      TwipsToPixels(75 + 300 * 31 + 315, dpi), TwipsToPixels(390 * 6 + 405, dpi)};
  const bool close = std::abs(last.left - expected.left) <= 1 &&
                    std::abs(last.top - expected.top) <= 1 &&
                    std::abs(last.right - expected.right) <= 1 &&
                    std::abs(last.bottom - expected.bottom) <= 1;
  Expect(close, "key 1000 covers " + Point(last.left, last.top) + "-" +
                   Point(last.right, last.bottom) + " of the client area, expected " +
                   Point(expected.left, expected.top) + "-" +
                   Point(expected.right, expected.bottom) + " (+-1)");
  run.toolbar.Close();
}

// --- the logo's about box --------------------------------------------------

void LogoClickShowsAbout(const Context& context) {
  ToolbarRun run(context);
  Toolbar& toolbar = run.toolbar;
  RECT logoRect = ScreenRect(toolbar.Control(kLogo));
  // The logo starts left of the client area; click the middle of its visible part.
  RECT client{};
  GetClientRect(toolbar.Window(), &client);
  MapWindowPoints(toolbar.Window(), HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  logoRect.left = std::max(logoRect.left, client.left);
  LeftClickAt(Centre(logoRect));

  HWND box = AwaitMessageBox(toolbar, "after a click on the logo");
  const std::wstring text = MessageBoxText(box);
  const std::wstring opening = L" A Gift Form";
  Expect(text.rfind(opening, 0) == 0,
         "the message box text begins " + Quote(text.substr(0, 40)) + ", expected " + Quote(opening));
  PressEnterOn(box);
  Expect(!toolbar.HasExited(), "the program ended when the message box closed");
  Expect(Responds(toolbar.Window()), "the toolbar does not answer after the message box");
  toolbar.Close();
}

}  // namespace

std::vector<Case> AllCases() {
  std::vector<Case> cases = {
      {"default_placement_fixed_frame", DefaultPlacementAndFrame},
      {"topmost_above_normal_windows", TopmostAboveNormalWindows},
      {"client_size_follows_dpi", ClientSizeFollowsDpi},
      PlacedAt("stored_placement", "[WinPos]\r\nLeft= 120\r\nTop= 45\r\n", 120, 45),
      {"restore_after_drag_returns_to_stored_place", RestoreReturnsToStartPlace},
      PlacedAt("stored_placement_not_a_number", "[WinPos]\r\nLeft=abc\r\nTop=xyz\r\n", 0, 0),
      ShowsCaptions("default_captions", std::nullopt,
                    {L"Ll", L"'\"", L"-/_", L"\u00E6/\u00C6", L"\u2026/\u00DA", L"-", L"tr", L"C"}),
      // Windows-1252 bytes, an empty value, a quoted value, blanks around a
      // value, the undefined code 0x81, names in other letter cases, and a
      // cap06 that the toolbar must not show.
      ShowsCaptions("captions_from_settings",
                    "[CUSTOMIZE]\r\n"
                    "cap01=\r\n"
                    "CAP02=\"ab\"\r\n"
                    "cap03=\x80\x81\x9F\r\n"
                    "cap04=\xE6/\xC6\r\n"
                    "cap05=  Q  \r\n"
                    "cap06=Z\r\n"
                    "Character==\r\n",
                    {L"", L"ab", L"\u20AC\u0081\u0178", L"\u00E6/\u00C6", L"Q", L"=", L"tr", L"C"}),
      CloseBoxSavesPosition(-8, 900, "0", "400"),      // clamped: bare bound
      CloseBoxSavesPosition(120, 45, " 120", " 45"),   // in range: one leading blank
      CloseBoxSavesPosition(0, 0, " 0", " 0"),         // lower bounds are inside
      CloseBoxSavesPosition(600, 400, " 600", " 400"),  // upper bounds are inside
      CloseBoxSavesPosition(601, -1, "600", "0"),
      {"last_font_reselected_and_saved_via_system_menu", LastFontReselectedAndSavedViaSystemMenu},
      {"alt_f4_closes_toolbar", AltF4ClosesToolbar},
      {"font_without_settings_file", FontWithoutSettingsFile},
      {"stored_font_not_installed", StoredFontNotInstalled},
      {"font_list_sorted_drop_down", FontListIsSortedDropDownList},
      {"panel_hidden_at_start", PanelHiddenAtStart},
      {"keypad_grid", KeypadGrid},
      {"logo_click_shows_about_box", LogoClickShowsAbout},
  };
  for (auto* more : {TargetCases, CustomizeCases, CommandCases, TestFontCases, ConvertCases, FocusCases, DocumentCases}) {
    for (auto& c : more()) cases.push_back(std::move(c));
  }
  return cases;
}

}  // namespace lk::e2e
