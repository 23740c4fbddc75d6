#include "ui/toolbar/toolbar_win.h"

#include <commctrl.h>

#include <string>
#include <utility>

#include "commands/assign.h"
#include "commands/convert_selection.h"
#include "diagnostics/debug_log.h"
#include "platform/win32/wide_text.h"
#include "resource_ids.h"
#include "ui/common/colour_win.h"
#include "ui/common/dpi.h"
#include "ui/common/fonts.h"
#include "ui/common/modal_dialog_win.h"
#include "ui/common/owner_draw_button.h"
#include "ui/common/quiet_button_win.h"
#include "ui/common/startup_trace_win.h"
#include "ui/customize/customize_win.h"
#include "ui/select_application/select_application_win.h"
#include "ui/toolbar/about_text.h"
#include "ui/toolbar/font_choice.h"
#include "ui/toolbar/keypad_model.h"
#include "ui/toolbar/toolbar_lifecycle.h"

namespace lk::ui::toolbar {
namespace {

constexpr wchar_t kClass[] = L"LekhopakarToolbar";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// Topmost from birth: under Wine a later HWND_TOPMOST request on this window
// was measured not to stick (its style kept no WS_EX_TOPMOST), while a window
// created topmost stays so.
constexpr DWORD kExStyle = WS_EX_TOPMOST;
constexpr COLORREF kMarkerKey = RGB(LK_TRANSPARENT_KEY_R, LK_TRANSPARENT_KEY_G, LK_TRANSPARENT_KEY_B);
constexpr double kChosenFontPoints = 16;
constexpr double kQuickTextPoints = 12;
// Posted by Show: what the first sight does not need is done after it.
constexpr UINT kSettle = WM_APP + 1;
// Files came in through an OLE drop and wait in the drop target.
constexpr UINT kFilesDropped = WM_APP + 2;

bool IsKey(int id) { return id >= id::kFirstKey && id < id::kFirstKey + kKeyCount; }

// The closed height of a combo box of the strip, in pixels.
int StripHeight(int controlId, UINT dpi) {
  const ControlDesign* design = FindControl(BottomStrip(), controlId);
  return design ? TwipsToPixels(design->rect.height, dpi) : 0;
}

}  // namespace

ToolbarWindow::ToolbarWindow(platform::Win32Platform& platform, settings::SettingsStore store)
    : platform_(platform), store_(std::move(store)), runner_(platform.seams(), store_, *this) {}

bool ToolbarWindow::Create() {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  RegisterClassOnce(kClass, 0, nullptr,
                    static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_LEKHOPAKAR), IMAGE_ICON, 0, 0,
                                                    LR_DEFAULTSIZE | LR_SHARED)),
                    nullptr);

  const std::wstring caption = platform::Wide(kCaption);
  if (!CreateWindowFor(kClass, kExStyle, caption.c_str(), kStyle, 0, 0, 1, 1, nullptr, nullptr)) return false;
  TraceStartup("window created");
  platform_.shell.SetOwner(hwnd());
  ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_LEKHOPAKAR), IMAGE_ICON, 16,
                                                       16, LR_SHARED)));
  fonts_ = DesignFonts(DpiOf(hwnd()));
  // At its final place and size while still empty and hidden, so that
  // showing it later changes nothing but its visibility.
  Place(SWP_NOACTIVATE);
  // One family looked for instead of every installed one listed: the rest of
  // the list, like the hotkeys and the tooltips, waits until after the first
  // paint (Settle).
  startFont_ = StartFont(store_, platform_.shell);
  TraceStartup("last font looked for");
  CreateControls();
  TraceStartup("controls created");
  Load();
  return true;
}

void ToolbarWindow::CreatePicture(const ControlDesign& design) {
  const bool marker = design.id == id::kMarker;
  PictureWindow& picture = marker ? marker_ : logo_;
  // The marker's place is a little smaller than its picture: it is shrunk to
  // fit rather than have its point cut off.
  picture.Create(hwnd(), design.id, marker ? IDB_MARKER : IDB_LOGO, ToColorRef(FaceOf(design.id)),
                 marker ? std::optional(kMarkerKey) : std::nullopt, marker);
  picture.SetDpi(dpi());
  PlaceControl(picture.hwnd(), design, fonts_);
}

void ToolbarWindow::CreateControls() {
  tips_.Create(hwnd());
  // Each new child goes below its elder siblings, so creating them top first
  // gives the stacking wanted without moving any: the panel over everything,
  // then the strip and the keys in the order their tables give.
  panel_.Create(hwnd(), id::kPanel);
  PlacePanel(FALSE);

  TraceStartup("tooltip control and panel created");
  const auto strip = BottomStrip();
  lk::ui::CreateControls(hwnd(), strip, fonts_);
  for (const auto& design : strip)
    if (design.kind == ControlKind::kPicture) CreatePicture(design);
  HWND quickText = Item(id::kQuickText);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (::GetComboBoxInfo(quickText, &info)) quickTextEdit_ = info.hwndItem;
  if (quickTextEdit_ &&
      !::SetWindowSubclass(quickTextEdit_, &ToolbarWindow::ChildProc, 0, reinterpret_cast<DWORD_PTR>(this)))
    diagnostics::LogFailure("SetWindowSubclass failed on the quick-text field");
  if (!::SetWindowSubclass(Item(id::kTargetField), &ToolbarWindow::ChildProc, 0, reinterpret_cast<DWORD_PTR>(this)))
    diagnostics::LogFailure("SetWindowSubclass failed on the target field");

  TraceStartup("strip created");
  // With a font to start in, each key is born with its caption rather than
  // being captioned again one by one.
  for (ControlDesign key : Controls().subspan(strip.size())) {
    const int index = key.id - id::kFirstKey;
    const std::string caption = startFont_ ? KeyCaption(index) : std::string();
    key.text = caption;
    keys_[index] = CreateControl(hwnd(), key, fonts_);
  }
  keysLabelled_ = startFont_.has_value();
  TraceStartup("keys created");
  // What acts on the target leaves the user's window in front; only the
  // controls that take typing, and the dialogs, bring the toolbar forward.
  // A key's one subclass passes its mouse on to its tooltip as well.
  for (HWND key : keys_) MakeQuiet(key, &tips_);
  for (int id = id::kCommand1; id <= id::kCommand7; ++id) MakeQuiet(Item(id));
}

void ToolbarWindow::PlacePanel(BOOL repaint) {
  const PixelRect p = ToPixels(kPanelRect, dpi());
  ::MoveWindow(panel_.hwnd(), p.left, p.top, p.width, p.height, repaint);
  panel_.SetFont(chosenFont_ ? panelFont_.get() : fonts_.Get(kPanelPoints, false));
}

void ToolbarWindow::LayOut(UINT newDpi) {
  PlaceControls(hwnd(), Controls(), fonts_, newDpi);
  logo_.SetDpi(newDpi);
  marker_.SetDpi(newDpi);
  PlacePanel(TRUE);
  // A new DPI needs new fonts, not a second trip to Word.
  if (chosenFont_) OnFontChosen(true);
}

void ToolbarWindow::Load() {
  Assign();
  TraceStartup("button settings read");
  if (startFont_) {
    HWND fonts = Item(id::kFonts);
    ::SendMessageW(fonts, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::FromUtf8(*startFont_).c_str()));
    ::SendMessageW(fonts, CB_SETCURSEL, 0, 0);
    OnFontChosen();
    TraceStartup("last font chosen");
  }
}

void ToolbarWindow::FillFontList() {
  HWND fonts = Item(id::kFonts);
  for (const auto& name : platform_.shell.ScreenFonts())
    if (name != startFont_)
      ::SendMessageW(fonts, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::FromUtf8(name).c_str()));
  // The start font moved down the sorted list as the others came in.
  if (startFont_ && ::SendMessageW(fonts, CB_GETCURSEL, 0, 0) != CB_ERR) {
    const LRESULT at = ::SendMessageW(fonts, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(platform::FromUtf8(*startFont_).c_str()));
    if (at != CB_ERR) ::SendMessageW(fonts, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
  }
}

void ToolbarWindow::SetTooltips() {
  tips_.Set(panel_.hwnd(), kPanelTooltip);
  const auto strip = BottomStrip();
  lk::ui::SetTooltips(hwnd(), strip, tips_);
  for (const auto& design : strip)
    if (design.kind == ControlKind::kPicture) tips_.Set(::GetDlgItem(hwnd(), design.id), design.tooltip);
  // The six customizable buttons have theirs from their settings (Assign).
  // A key has a tooltip once a font is chosen.
  if (keysLabelled_) SetKeyTooltips(convert::LegacyFontByName(FontListText()));
}

void ToolbarWindow::SetKeyTooltips(std::optional<convert::LegacyFont> family) {
  // A key's tooltip teaches the layout of a legacy family the converter
  // knows, so it changes with the family.
  for (int index = 0; index < kKeyCount; ++index) {
    const std::string layout = family ? KeyLayoutTooltip(index, *family) : std::string();
    if (layout.empty())
      tips_.Set(keys_[index], KeyTooltip(index), Tooltips::Feed::kRelayed);
    else
      tips_.SetUnicode(keys_[index], layout, Tooltips::Feed::kRelayed);
  }
  tooltipFamily_ = family;
  keyTipsSet_ = true;
}

void ToolbarWindow::Assign() {
  const auto labels = commands::ReadButtonLabels(store_);
  for (int slot = 0; slot < commands::kCustomSlots; ++slot) {
    HWND button = Item(id::kCommand1 + slot);
    platform::SetText(button, labels[slot].caption);
    tips_.Set(button, labels[slot].tooltip);
    ::InvalidateRect(button, nullptr, TRUE);
  }
}

void ToolbarWindow::Show() {
  shown_ = true;
  // The keys' backgrounds are not erased one by one in a pass of their own:
  // each key's paint below covers all of it.
  Place(SWP_SHOWWINDOW | SWP_DEFERERASE);
  ::SetFocus(Item(id::kFonts));
  TraceStartup("placed");
  // Painted now rather than whenever the queue runs dry, so that the toolbar
  // is whole on screen the moment it says so.
  ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  ::SetPropW(hwnd(), kReadyProperty, reinterpret_cast<HANDLE>(kReadyShown));
  TraceStartup("shown and painted");
  ::PostMessageW(hwnd(), kSettle, 0, 0);
}

void ToolbarWindow::Settle() {
  FillFontList();
  TraceStartup("font list filled");
  conversions_.Attach(hwnd(), store_);
  TraceStartup("hotkeys registered");
  // Nothing can be dropped on a toolbar the user cannot see yet.
  documents::AcceptDroppedFiles(hwnd());
  dropTarget_.Register(hwnd(), kFilesDropped);
  TraceStartup("drop target registered");
  SetTooltips();
  TraceStartup("tooltips set");
  settled_ = true;
  ::SetPropW(hwnd(), kReadyProperty, reinterpret_cast<HANDLE>(kReadySettled));
  TraceStartup("settled", true);
}

void ToolbarWindow::Place(UINT flags) {
  if (placing_) return;
  const platform::FlagRaised placing(placing_);
  const Corner corner = placement_.StoredCorner(store_);
  const SIZE outer = OuterSizeForClient(kClientWidth, kClientHeight, kStyle, kExStyle, dpi());
  ::SetWindowPos(hwnd(), HWND_TOPMOST, corner.x, corner.y, outer.cx, outer.cy, flags);
}

std::string ToolbarWindow::TargetName() { return platform::GetUtf8Text(Item(id::kTargetField)); }

void ToolbarWindow::OpenSelectApplication() {
  select_application::SelectApplicationDialog::Run(platform_, hwnd(), Item(id::kTargetField));
}

LRESULT CALLBACK ToolbarWindow::ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &ToolbarWindow::ChildProc, 0);
  try {
    if (reinterpret_cast<ToolbarWindow*>(self)->OnChildMessage(hwnd, msg, wParam, lParam)) return 0;
  } catch (...) {
    // As in the window-procedure thunk: no exception crosses into the system.
    diagnostics::LogFailure("exception stopped in a field's subclass procedure; the code is the message", msg);
  }
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

bool ToolbarWindow::OnChildMessage(HWND child, UINT msg, WPARAM wParam, LPARAM) {
  if (child == Item(id::kTargetField) && msg == WM_LBUTTONDBLCLK) {
    // Not inside a running target sequence: the dialog would nest in its waits.
    if (auto pass = gate_.TryEnter()) OpenSelectApplication();
    return true;
  }
  if (child == quickTextEdit_ && msg == WM_CHAR && wParam == VK_RETURN) {
    AddQuickText();
    return false;  // the key still reaches the box
  }
  return false;
}

void ToolbarWindow::AddQuickText() {
  HWND quickText = Item(id::kQuickText);
  const std::string text = platform::GetText(quickText);
  if (text.empty()) return;
  // Entries keep their blanks and may repeat; only their length is limited.
  ::SendMessageW(quickText, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Wide(text.substr(0, 50)).c_str()));
  ::SetWindowTextW(quickText, L"");
}

void ToolbarWindow::OnKeyClick(int index) {
  if (FontListText().empty()) {
    platform_.shell.ShowMessage("Please select a font from the list.", {platform::BoxKind::kInformation},
                             std::string(kCaption));
    ::SendMessageW(Item(id::kFonts), CB_SHOWDROPDOWN, TRUE, 0);
    return;
  }
  runner_.TypeKey(KeyDigits(index));
}

void ToolbarWindow::Unload() {
  ModalDialog::CloseOpen();
  documentRuns_.CloseAll();
  const std::string font = FontListText();
  RECT outer{};
  const auto corner = ::GetWindowRect(hwnd(), &outer) ? std::optional<Corner>({outer.left, outer.top}) : std::nullopt;
  // A failed write keeps the last position and font: not worth holding up
  // the closing with a message, and the next close tries again.
  SaveOnClose(corner, store_, font);
  ::DestroyWindow(hwnd());
}

std::string ToolbarWindow::FontListText() const {
  HWND fonts = Item(id::kFonts);
  const LRESULT selected = ::SendMessageW(fonts, CB_GETCURSEL, 0, 0);
  if (selected == CB_ERR) return {};
  return platform::ToUtf8(platform::ComboItemText(fonts, static_cast<WPARAM>(selected)));
}

void ToolbarWindow::OnFontChosen(bool relabelOnly) {
  const std::string name = FontListText();
  if (name.empty()) return;
  const platform::WaitCursor wait;
  // 224 keys repainted one by one would cost more than all the rest; paint
  // the toolbar once at the end instead. (Turning redraw back on also shows
  // a window, so a toolbar not yet shown is left alone.)
  const bool visible = ::IsWindowVisible(hwnd()) != FALSE;
  if (visible) ::SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  chosenFont_ = MakeFont(name, kChosenFontPoints, false, dpi());
  panelFont_ = MakeFont(name, kPanelPoints, false, dpi());
  panel_.SetFont(panelFont_.get());
  TraceStartup("chosen fonts made");
  // A key's caption is the same in every font: set it at the first choice
  // only. The keys draw with chosenFont_ themselves (KeyFont), so no key
  // needs telling about a new font either.
  if (!keysLabelled_) {
    for (int index = 0; index < kKeyCount; ++index) platform::SetText(keys_[index], KeyCaption(index));
    keysLabelled_ = true;
  }
  // Before the first paint the tooltips wait for Settle, which sets them all.
  const auto family = convert::LegacyFontByName(name);
  if (settled_ && (!keyTipsSet_ || family != tooltipFamily_)) SetKeyTooltips(family);
  for (int slot = 0; slot < commands::kCustomSlots; ++slot)
    ::SendMessageW(Item(id::kCommand1 + slot), WM_SETFONT, reinterpret_cast<WPARAM>(chosenFont_.get()), TRUE);
  quickTextFont_ = MakeFont(name, kQuickTextPoints, false, dpi());
  HWND quickText = Item(id::kQuickText);
  ::SendMessageW(quickText, WM_SETFONT, reinterpret_cast<WPARAM>(quickTextFont_.get()), TRUE);
  // Closed, it lines up with the target field beside it.
  SetClosedHeight(quickText, StripHeight(id::kTargetField, dpi()));
  if (visible) {
    ::SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  if (!relabelOnly) ApplyFontToOffice(platform_.shell, TargetName(), name);
}

void ToolbarWindow::OnConversion(convert::Direction direction, bool fromHotkey) {
  auto pass = gate_.TryEnter();
  if (!pass) return;
  const platform::WaitCursor wait;
  const std::string font = FontListText();
  HWND front = ::GetForegroundWindow();
  DWORD process = 0;
  if (front) ::GetWindowThreadProcessId(front, &process);
  // A hotkey pressed while one of our own windows is in front has no other
  // window to act on: the target field names it then, as for the menu.
  if (fromHotkey && front && process != ::GetCurrentProcessId())
    runner_.ConvertWindow(platform::FromHwnd(front), direction, font);
  else
    runner_.ConvertTarget(direction, font);
}

void ToolbarWindow::ConvertDocuments(convert::Direction direction,
                                     const std::vector<std::filesystem::path>& files) {
  if (files.empty()) return;
  lk::documents::ConvertSettings settings;
  settings.direction = direction;
  settings.options.font = commands::ConversionFont(FontListText(), store_);
  settings.unicodeFont = commands::AutomationFontAfter(convert::Direction::kToUnicode, settings.options.font, store_);
  const std::string target = direction == convert::Direction::kToUnicode
                                 ? std::string("Unicode")
                                 : std::string(convert::LegacyFontName(settings.options.font));
  documentRuns_.Start(hwnd(), platform_.shell, files, settings, target);
}

void ToolbarWindow::OnFilesDropped(const std::vector<std::filesystem::path>& files) {
  if (files.empty()) return;
  if (const auto direction = documents::AskDirection(hwnd(), commands::ConversionFont(FontListText(), store_)))
    ConvertDocuments(*direction, files);
}

void ToolbarWindow::ShowAbout() {
  platform_.shell.ShowMessage(AboutText(), {platform::BoxKind::kInformation}, std::string(kCaption));
}

void ToolbarWindow::RaiseControl(HWND control) {
  ::SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::InvalidateRect(control, nullptr, TRUE);
}

void ToolbarWindow::OnCommand(int controlId, int code, HWND control) {
  // Owner-drawn buttons report a quick second click as a double click; to a
  // person it is simply another click.
  const bool clicked = code == BN_CLICKED || code == BN_DOUBLECLICKED || code == STN_CLICKED;
  const bool targetAction = clicked && ((controlId >= id::kCommand1 && controlId <= id::kCommand7) ||
                                        IsKey(controlId) || controlId == id::kMarker);
  if (targetAction) {
    // Held back while another sequence waits on the target.
    auto pass = gate_.TryEnter();
    if (!pass) return;
    if (IsKey(controlId))
      OnKeyClick(controlId - id::kFirstKey);
    else if (controlId == id::kMarker)
      runner_.PasteText(platform::GetText(Item(id::kQuickText)));
    else
      runner_.Run(controlId - id::kCommand1 + 1);
    return;
  }
  if (controlId == id::kCommand10 && clicked) {
    if (auto pass = gate_.TryEnter()) customize::RunCustomizeDialog(platform_, hwnd(), store_, [this] { Assign(); });
    return;
  }
  if (controlId == id::kFonts && code == CBN_SELCHANGE) {
    OnFontChosen();
  } else if (controlId == id::kLogo && code == STN_CLICKED) {
    ShowAbout();
  } else if ((controlId == id::kTargetField && code == EN_SETFOCUS) ||
             (controlId == id::kQuickText && code == CBN_SETFOCUS)) {
    RaiseControl(control);
  }
}

bool ToolbarWindow::DrawItem(const DRAWITEMSTRUCT& item) {
  const int controlId = static_cast<int>(item.CtlID);
  if (item.CtlType == ODT_BUTTON && IsKey(controlId)) {
    DrawColouredButton(item, ::GetSysColor(COLOR_BTNFACE), chosenFont_ ? chosenFont_.get() : fonts_.Get(kDesignPoints, false));
    return true;
  }
  if (const ControlDesign* design = FindControl(BottomStrip(), controlId);
      item.CtlType == ODT_BUTTON && design && design->kind == ControlKind::kColouredButton) {
    DrawColouredButton(item, ToColorRef(FaceOf(controlId)));
    return true;
  }
  if (item.CtlType == ODT_COMBOBOX && controlId == id::kFonts) {
    const bool selected = (item.itemState & ODS_SELECTED) != 0 && item.itemID != static_cast<UINT>(-1);
    RECT rc = item.rcItem;
    ::FillRect(item.hDC, &rc, selected ? ::GetSysColorBrush(COLOR_HIGHLIGHT) : brushes_.Get(FaceOf(controlId)));
    if (item.itemID != static_cast<UINT>(-1)) {
      const std::wstring name = platform::ComboItemText(item.hwndItem, item.itemID);
      if (!name.empty()) {
        ::SetBkMode(item.hDC, TRANSPARENT);
        ::SetTextColor(item.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        rc.left += 2;
        ::DrawTextW(item.hDC, name.c_str(), static_cast<int>(name.size()), &rc,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      }
    }
    if (item.itemState & ODS_FOCUS) ::DrawFocusRect(item.hDC, &item.rcItem);
    return true;
  }
  return false;
}

Rgb ToolbarWindow::FaceOf(int controlId) const {
  const ControlDesign* design = FindControl(BottomStrip(), controlId);
  return design && design->face ? *design->face : kGrey;
}

LRESULT ToolbarWindow::ColourControl(HDC dc, HWND control) {
  // The quick-text box's edit field and list take the colour of the box.
  int controlId = 0;
  if (control == Item(id::kTargetField))
    controlId = id::kTargetField;
  else if (control == quickTextEdit_ || ::GetParent(control) == Item(id::kQuickText))
    controlId = id::kQuickText;
  else
    return 0;
  const Rgb face = FaceOf(controlId);
  ::SetBkColor(dc, ToColorRef(face));
  return reinterpret_cast<LRESULT>(brushes_.Get(face));
}

LRESULT ToolbarWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT client;
      ::GetClientRect(hwnd(), &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, brushes_.Get(kGrey));
      return 1;
    }
    case WM_SIZE:
      // Every resize puts the toolbar back at its stored corner; a minimized
      // toolbar stays minimized until the user restores it.
      if (shown_ && wParam != SIZE_MINIMIZED) Place(SWP_SHOWWINDOW);
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_DRAWITEM:
      if (DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure->CtlType == ODT_COMBOBOX) {
        measure->itemHeight = static_cast<UINT>(DrawnItemHeight(dpi()));
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (const LRESULT brush = ColourControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
        return brush;
      break;
    case WM_DPICHANGED: {
      UINT dpi;
      {
        const platform::FlagRaised placing(placing_);
        dpi = MoveForDpiChange(hwnd(), wParam, lParam);
      }
      LayOut(dpi);
      return 0;
    }
    case WM_PARENTNOTIFY:
      // A right press on a key shows its character enlarged; buttons report
      // no right presses themselves, but every press reaches us this way.
      if (LOWORD(wParam) == WM_RBUTTONDOWN) {
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        HWND child = ::ChildWindowFromPointEx(hwnd(), at, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
        const int controlId = child ? ::GetDlgCtrlID(child) : 0;
        if (IsKey(controlId)) panel_.ShowCharacter(static_cast<unsigned char>(controlId - id::kFirstKey + 32));
      }
      return 0;
    case WM_SYSCOMMAND:
      if (const auto direction = conversions_.FromMenu(wParam)) {
        OnConversion(*direction, false);
        return 0;
      }
      if (const auto direction = conversions_.DocumentsFromMenu(wParam)) {
        const std::string title = direction == convert::Direction::kToUnicode
                                      ? "Convert documents to Unicode"
                                      : "Convert documents to " + std::string(convert::LegacyFontName(
                                                                      commands::ConversionFont(FontListText(), store_)));
        ConvertDocuments(*direction, documents::PickDocuments(hwnd(), title));
        return 0;
      }
      break;
    case WM_INITMENU:
      conversions_.NameDocumentsFamily(commands::ConversionFont(FontListText(), store_));
      break;
    case WM_DROPFILES:
      OnFilesDropped(documents::DroppedFiles(reinterpret_cast<HDROP>(wParam)));
      return 0;
    case kFilesDropped:
      OnFilesDropped(dropTarget_.TakeDropped());
      return 0;
    case WM_HOTKEY:
      if (const auto direction = conversions_.FromHotkey(wParam)) OnConversion(*direction, true);
      return 0;
    case kSettle:
      Settle();
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_DESTROY:
      ::RemovePropW(hwnd(), kReadyProperty);
      conversions_.Detach();
      dropTarget_.Revoke();
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return Default(msg, wParam, lParam);
}

}  // namespace lk::ui::toolbar
