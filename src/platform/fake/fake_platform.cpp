#include "platform/fake/fake_platform.h"

namespace lk::platform {
namespace {
std::string Hex(unsigned v) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  do {
    s.insert(s.begin(), digits[v % 16]);
    v /= 16;
  } while (v != 0);
  return "0x" + s;
}
}  // namespace

bool FakePlatform::GetWindowRect(WindowHandle window, Rect& rect) {
  calls.push_back("GetWindowRect " + std::to_string(window));
  const auto it = windows.find(window);
  if (it == windows.end()) return false;
  rect = it->second.rect;
  return true;
}

bool FakePlatform::SetWindowPosTopmost(WindowHandle window, int x, int y, int width, int height) {
  calls.push_back("SetWindowPosTopmost " + std::to_string(window) + " " + std::to_string(x) + "," +
                  std::to_string(y) + " " + std::to_string(width) + "x" + std::to_string(height));
  const auto it = windows.find(window);
  if (it == windows.end()) return false;
  it->second.rect = {x, y, x + width, y + height};
  return true;
}

std::vector<WindowHandle> FakePlatform::EnumTopLevelWindows() {
  calls.push_back("EnumTopLevelWindows");
  if (!zOrder.empty()) return zOrder;
  std::vector<WindowHandle> all;
  for (const auto& [handle, window] : windows) all.push_back(handle);
  return all;
}

bool FakePlatform::IsWindow(WindowHandle window) { return windows.count(window) != 0; }

bool FakePlatform::IsWindowVisible(WindowHandle window) {
  const auto it = windows.find(window);
  return it != windows.end() && it->second.visible;
}

bool FakePlatform::IsWindowEnabled(WindowHandle window) {
  const auto it = windows.find(window);
  return it != windows.end() && it->second.enabled;
}

std::string FakePlatform::GetWindowTitle(WindowHandle window) {
  const auto it = windows.find(window);
  return it == windows.end() ? std::string() : it->second.title;
}

void FakePlatform::FlashWindow(WindowHandle window) { calls.push_back("FlashWindow " + std::to_string(window)); }

void FakePlatform::DragWindow(WindowHandle window) { calls.push_back("DragWindow " + std::to_string(window)); }

void FakePlatform::ShowDropDown(WindowHandle comboBox) {
  calls.push_back("ShowDropDown " + std::to_string(comboBox));
}

unsigned FakePlatform::ScanCode(unsigned virtualKey) {
  calls.push_back("MapVirtualKey " + Hex(virtualKey));
  return virtualKey + 0x100;  // the low byte is what callers use
}

void FakePlatform::KeyEvent(unsigned char virtualKey, unsigned char scanCode, unsigned flags) {
  calls.push_back(std::string(flags & kKeyUp ? "KeyUp " : "KeyDown ") + Hex(virtualKey) + " scan " + Hex(scanCode));
}

Activation FakePlatform::ActivateWindowByTitle(const std::string& name) {
  calls.push_back("Activate " + name);
  for (const auto& [handle, window] : windows)
    if (window.title == name) return {};
  for (const auto& [handle, window] : windows)
    if (window.title.compare(0, name.size(), name) == 0) return {};
  return {5, "Invalid procedure call or argument"};
}

void FakePlatform::YieldOnce() { calls.push_back("Yield"); }

bool FakePlatform::ClipboardHasText() { return clipboardHasText; }

std::string FakePlatform::ClipboardGetText() { return clipboardHasText ? clipboardText : std::string(); }

bool FakePlatform::ClipboardSetText(const std::string& text) {
  calls.push_back("ClipboardSetText " + text);
  clipboardHasText = true;
  clipboardText = text;
  return true;
}

bool FakePlatform::ClipboardClear() {
  calls.push_back("ClipboardClear");
  clipboardHasText = false;
  clipboardText.clear();
  return true;
}

int FakePlatform::ShowMessageBox(const std::string& text, unsigned flags, const std::optional<std::string>& title) {
  calls.push_back("MessageBox [" + text + "] flags " + std::to_string(flags) + " title " +
                  (title ? "[" + *title + "]" : std::string("(default)")));
  if (messageBoxAnswers.empty()) return box::kAnswerOk;
  const int answer = messageBoxAnswers.front();
  messageBoxAnswers.pop_front();
  return answer;
}

std::vector<std::string> FakePlatform::ScreenFonts() { return fonts; }

std::filesystem::path::string_type FakePlatform::ProgramDirectory() { return programDirectory; }

}  // namespace lk::platform
