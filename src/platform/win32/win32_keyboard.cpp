#include "platform/win32/win32_keyboard.h"

#include <windows.h>

#include "platform/win32/handles.h"

namespace lk::platform {
namespace {

// A control that takes longer to tell its selection is as good as hung.
constexpr UINT kSelectionBoundMs = 500;

WORD VirtualKey(Key key) {
  switch (key) {
    case Key::kControl:
      return VK_CONTROL;
    case Key::kAlt:
      return VK_MENU;
    case Key::kShift:
      return VK_SHIFT;
    case Key::kC:
      return 'C';
    case Key::kV:
      return 'V';
    default:
      return static_cast<WORD>(VK_NUMPAD0 + (static_cast<int>(key) - static_cast<int>(Key::kNumpad0)));
  }
}

}  // namespace

std::size_t Win32Keyboard::SendKeys(const std::vector<KeyStroke>& strokes) {
  if (strokes.empty()) return 0;
  std::vector<INPUT> inputs(strokes.size());
  for (std::size_t i = 0; i < strokes.size(); ++i) {
    const WORD vk = VirtualKey(strokes[i].key);
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = vk;
    inputs[i].ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) & 0xFF);
    inputs[i].ki.dwFlags = strokes[i].up ? KEYEVENTF_KEYUP : 0;
  }
  return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void Win32Keyboard::TypeUnicode(char16_t unit) {
  INPUT inputs[2] = {};
  for (auto& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = unit;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
  }
  inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof(INPUT));
}

bool Win32Keyboard::ModifiersDown() {
  for (const int key : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN})
    if (::GetAsyncKeyState(key) & 0x8000) return true;
  return false;
}

bool Win32Keyboard::HasAltNumpadEntry() {
  // Wine reads Alt with keypad digits as separate keys and types nothing.
  static const bool wine =
      ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return !wine;
}

bool Win32Keyboard::SendEditRequest(WindowHandle control, EditRequest request, std::chrono::milliseconds bound) {
  // Not SMTO_BLOCK: while the control reads our offered text it asks us to
  // render it, and that request must be answered inside this wait.
  DWORD_PTR ignored = 0;
  const UINT message = request == EditRequest::kCopy ? WM_COPY : WM_PASTE;
  return ::SendMessageTimeoutW(ToHwnd(control), message, 0, 0, SMTO_ABORTIFHUNG,
                               static_cast<UINT>(bound.count()), &ignored) != 0;
}

std::optional<EditSelection> Win32Keyboard::SelectionOf(WindowHandle control) {
  DWORD start = 0, end = 0;
  DWORD_PTR ignored = 0;
  if (!::SendMessageTimeoutW(ToHwnd(control), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                             reinterpret_cast<LPARAM>(&end), SMTO_ABORTIFHUNG, kSelectionBoundMs, &ignored))
    return std::nullopt;
  return EditSelection{start, end};
}

}  // namespace lk::platform
