#pragma once
#include <windows.h>

#include "platform/platform.h"

namespace lk::platform {

class Win32Platform : public Platform {
 public:
  // Message boxes are modal to this window (the toolbar); it owns what we
  // put on the clipboard and must hand clipboard messages to
  // OnClipboardMessage.
  void SetOwner(HWND owner);
  // True when the message was a clipboard request and has been answered.
  bool OnClipboardMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  bool GetWindowRect(WindowHandle window, Rect& rect) override;
  bool SetWindowPosTopmost(WindowHandle window, int x, int y, int width, int height) override;
  std::vector<WindowHandle> EnumTopLevelWindows() override;
  bool IsWindow(WindowHandle window) override;
  bool IsWindowVisible(WindowHandle window) override;
  bool IsWindowEnabled(WindowHandle window) override;
  std::string GetWindowTitle(WindowHandle window) override;
  std::string GetWindowClassName(WindowHandle window) override;
  void FlashWindow(WindowHandle window) override;
  void DragWindow(WindowHandle window) override;
  void ShowDropDown(WindowHandle comboBox) override;
  Activation ActivateWindow(WindowHandle window) override;
  std::size_t SendKeys(const std::vector<KeyStroke>& strokes) override;
  void TypeUnicode(char16_t unit) override;
  WindowHandle FocusedEditControl(WindowHandle window) override;
  bool SendEditRequest(WindowHandle control, EditRequest request, std::chrono::milliseconds bound) override;
  bool ClipboardHasText() override;
  std::string ClipboardGetText() override;
  bool ClipboardClear() override;
  ClipboardSnapshot ClipboardSave() override;
  bool ClipboardRestore(const ClipboardSnapshot& snapshot) override;
  bool ClipboardOffer(const std::string& text) override;
  bool ClipboardOfferTaken() override;
  bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) override;
  WindowHandle ForegroundWindow() override;
  bool ModifiersDown() override;
  bool CatchUpWith(WindowHandle window, std::chrono::milliseconds bound) override;
  bool HasAltNumpadEntry() override;
  int ShowMessageBox(const std::string& text, unsigned flags, const std::optional<std::string>& title) override;
  int SetSelectionFontByAutomation(const std::string& progId, const std::string& fontName) override;
  std::vector<std::string> ScreenFonts() override;
  std::filesystem::path::string_type ProgramDirectory() override;

 private:
  // Handles every message waiting for this thread, leaving a quit for the main loop.
  void HandlePending();
  void RenderOffer(UINT format);

  HWND owner_ = nullptr;
  std::string offerText_;
  bool offerPending_ = false;  // delayed formats not yet rendered
  bool offerTaken_ = false;
};

inline HWND ToHwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }
inline WindowHandle FromHwnd(HWND h) { return reinterpret_cast<WindowHandle>(h); }

}  // namespace lk::platform
