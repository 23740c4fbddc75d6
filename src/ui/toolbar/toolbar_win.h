#pragma once
// The toolbar window: the program lives exactly as long as it does.
#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "commands/command_runner.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/window_base.h"
#include "settings/settings_store.h"
#include "target_link/sequence_gate.h"
#include "target_link/target_ui.h"
#include "ui/common/colour_win.h"
#include "ui/common/control_factory_win.h"
#include "platform/win32/handles.h"
#include "ui/common/picture_win.h"
#include "ui/common/tooltips.h"
#include "ui/documents/document_conversion_win.h"
#include "ui/documents/document_picker_win.h"
#include "ui/documents/file_drop_target_win.h"
#include "ui/toolbar/conversion_menu_win.h"
#include "ui/toolbar/enlargement_panel_win.h"
#include "ui/toolbar/placement.h"
#include "ui/toolbar/toolbar_layout.h"

namespace lk::ui::toolbar {

// The toolbar's window property that tells programs driving it from outside
// how far its start has come: kReadyShown once it is on screen with every key
// captioned and painted, kReadySettled once the work left for later is done.
inline constexpr wchar_t kReadyProperty[] = L"LekhopakarReady";
inline constexpr INT_PTR kReadyShown = 1;
inline constexpr INT_PTR kReadySettled = 2;

class ToolbarWindow : public platform::WindowBase, public target_link::TargetUi {
 public:
  ToolbarWindow(platform::Win32Platform& platform, settings::SettingsStore store);

  // Creates the window hidden with all its controls, then runs Load.
  bool Create();
  // The first placement: shown at the stored corner, topmost, fonts focused,
  // and painted; what can wait follows once the queue is reached.
  void Show();
  // Relabels the six customizable buttons from the settings file.
  void Assign();

  std::string TargetName() override;
  void OpenSelectApplication() override;

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // Messages of our child controls that their own classes do not report.
  static LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
  bool OnChildMessage(HWND child, UINT msg, WPARAM wParam, LPARAM lParam);

  void CreateControls();
  void CreatePicture(const ControlDesign& design);
  void PlacePanel(BOOL repaint);
  void LayOut(UINT newDpi);
  void Load();
  // At the stored corner, topmost, at the size of the DPI.
  void Place(UINT flags);
  // After the first paint: the rest of the font list, the hotkeys, the tooltips.
  void Settle();
  void FillFontList();
  void SetTooltips();
  void SetKeyTooltips(std::optional<convert::LegacyFont> family);
  void Unload();
  void OnCommand(int id, int code, HWND control);
  // Dresses the keypad and buttons in the chosen font and, for Word or Excel
  // targets, the target's selection too.
  void OnFontChosen(bool relabelOnly = false);
  void OnKeyClick(int index);
  void AddQuickText();
  // A conversion asked for from the window menu or, fromHotkey, by a global
  // hotkey: then it works on the window in front rather than the target field.
  void OnConversion(convert::Direction direction, bool fromHotkey);
  // Whole documents, picked in the file dialog or dropped on the toolbar.
  void ConvertDocuments(convert::Direction direction, const std::vector<std::filesystem::path>& files);
  void OnFilesDropped(const std::vector<std::filesystem::path>& files);
  void ShowAbout();
  void RaiseControl(HWND control);
  bool DrawItem(const DRAWITEMSTRUCT& item);
  LRESULT ColourControl(HDC dc, HWND control);
  // A strip control's colour as its design gives it.
  Rgb FaceOf(int controlId) const;
  std::string FontListText() const;

  UINT dpi() const { return fonts_.dpi(); }
  HWND Item(int id) const { return ::GetDlgItem(hwnd(), id); }

  platform::Win32Platform& platform_;
  settings::SettingsStore store_;
  Placement placement_;
  Tooltips tips_;
  PictureWindow logo_;
  PictureWindow marker_;
  EnlargementPanel panel_;
  std::array<HWND, kKeyCount> keys_{};
  HWND quickTextEdit_ = nullptr;

  DesignFonts fonts_;
  platform::UniqueFont panelFont_;
  platform::UniqueFont chosenFont_;
  platform::UniqueFont quickTextFont_;
  Brushes brushes_;

  commands::CommandRunner runner_;
  ConversionCommands conversions_;
  documents::ConversionRuns documentRuns_;
  documents::FileDropTarget dropTarget_;
  target_link::SequenceGate gate_;
  bool shown_ = false;
  std::optional<std::string> startFont_;  // the last font, when installed
  bool settled_ = false;
  bool keysLabelled_ = false;
  bool keyTipsSet_ = false;
  std::optional<convert::LegacyFont> tooltipFamily_;
  bool placing_ = false;
};

}  // namespace lk::ui::toolbar
