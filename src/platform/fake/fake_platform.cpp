#include "platform/fake/fake_platform.h"

#include <algorithm>

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

constexpr unsigned char kControl = 0x11;
constexpr unsigned char kC = 0x43;
constexpr unsigned char kV = 0x56;

}  // namespace

int FakePlatform::Count(const std::string& prefix) const {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                        [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

int FakePlatform::KeyEventsTo(WindowHandle window) const {
  return static_cast<int>(
      std::count_if(keyLog_.begin(), keyLog_.end(), [&](const auto& e) { return e.first == window; }));
}

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
  calls.push_back("ScanCode " + Hex(virtualKey));
  return virtualKey + 0x100;  // callers use only the low byte
}

void FakePlatform::KeyEvent(unsigned char virtualKey, unsigned char scanCode, unsigned flags) {
  const bool up = (flags & kKeyUp) != 0;
  calls.push_back(std::string(up ? "KeyUp " : "KeyDown ") + Hex(virtualKey) + " scan " + Hex(scanCode));
  keyLog_.emplace_back(foreground, calls.back());
  if (up)
    keysDown_.erase(virtualKey);
  else
    keysDown_.insert(virtualKey);
  if (virtualKey == kControl) controlDown_ = !up;
  if (up || !controlDown_ || (virtualKey != kC && virtualKey != kV)) return;
  const auto target = targets.find(foreground);
  if (target == targets.end()) return;
  if (virtualKey == kC && target->second.copyAfterPumps < 0) return;
  pending_.push_back({foreground, virtualKey == kC, pumps + std::max(target->second.copyAfterPumps, 1),
                      now + target->second.readDelay});
}

Activation FakePlatform::ActivateWindowByTitle(const std::string& name) {
  calls.push_back("Activate " + name);
  WindowHandle found = 0;
  for (const auto& [handle, window] : windows)
    if (window.visible && window.title == name) {
      found = handle;
      break;
    }
  if (!found)
    for (const auto& [handle, window] : windows)
      if (window.visible && window.title.compare(0, name.size(), name) == 0) {
        found = handle;
        break;
      }
  if (!found) return {5, "Invalid procedure call or argument", 0};
  foreground = stealForegroundTo ? stealForegroundTo : found;
  return {0, "", found};
}

void FakePlatform::Pump() {
  ++pumps;
  for (auto it = pending_.begin(); it != pending_.end();) {
    const bool due = it->copy ? pumps >= it->atPump : (pumps >= it->atPump && now >= it->at);
    if (!due) {
      ++it;
      continue;
    }
    auto& target = targets[it->window];
    if (it->copy) {
      clipboardOther.clear();
      clipboardMarked = false;
      clipboardHasText = true;
      clipboardText = target.selection;
    } else {
      if (clipboardMarked) offerTaken = true;
      target.pasted.push_back(clipboardHasText ? clipboardText : std::string());
    }
    it = pending_.erase(it);
  }
}

void FakePlatform::YieldOnce() {
  calls.push_back("Yield");
  Pump();
}

bool FakePlatform::WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
  calls.push_back("WaitUntil");
  const auto deadline = now + bound;
  for (;;) {
    if (condition()) return true;
    if (now >= deadline) return false;
    now += std::chrono::milliseconds(1);
    Pump();
  }
}

WindowHandle FakePlatform::ForegroundWindow() { return foreground; }

bool FakePlatform::ModifiersDown() { return now < modifiersHeldFor; }

bool FakePlatform::IsKeyDown(unsigned char virtualKey) {
  if (controlDown_ && dropControlOnce) {
    dropControlOnce = false;
    controlDown_ = false;
    keysDown_.erase(kControl);
  }
  return keysDown_.count(virtualKey) != 0;
}

void FakePlatform::CatchUpWith(WindowHandle) {}

bool FakePlatform::HasAltNumpadEntry() { return altNumpadEntry; }

void FakePlatform::TypeUnicode(char16_t unit) {
  calls.push_back("TypeUnicode " + Hex(unit));
  typedUnicode.push_back(unit);
  keyLog_.emplace_back(foreground, calls.back());
}

bool FakePlatform::ClipboardHasText() { return clipboardHasText; }

std::string FakePlatform::ClipboardGetText() { return clipboardHasText ? clipboardText : std::string(); }

bool FakePlatform::ClipboardClear() {
  calls.push_back("ClipboardClear");
  clipboardHasText = false;
  clipboardText.clear();
  clipboardOther.clear();
  clipboardMarked = false;
  return true;
}

ClipboardSnapshot FakePlatform::ClipboardSave() {
  calls.push_back("ClipboardSave");
  ClipboardSnapshot snapshot;
  snapshot.items = clipboardOther;
  snapshot.hasText = clipboardHasText;
  snapshot.text = clipboardText;
  return snapshot;
}

bool FakePlatform::ClipboardRestore(const ClipboardSnapshot& snapshot) {
  calls.push_back("ClipboardRestore");
  clipboardOther = snapshot.items;
  clipboardHasText = snapshot.hasText;
  clipboardText = snapshot.text;
  clipboardMarked = false;
  return true;
}

bool FakePlatform::ClipboardOffer(const std::string& text) {
  calls.push_back("ClipboardOffer " + text);
  clipboardOther.clear();
  clipboardHasText = true;
  clipboardText = text;
  clipboardMarked = true;
  offerTaken = false;
  return true;
}

bool FakePlatform::ClipboardOfferTaken() { return offerTaken; }

int FakePlatform::ShowMessageBox(const std::string& text, unsigned flags, const std::optional<std::string>& title) {
  calls.push_back("MessageBox [" + text + "] flags " + std::to_string(flags) + " title " +
                  (title ? "[" + *title + "]" : std::string("(default)")));
  if (messageBoxAnswers.empty()) return box::kAnswerOk;
  const int answer = messageBoxAnswers.front();
  messageBoxAnswers.pop_front();
  return answer;
}

int FakePlatform::SetSelectionFontByAutomation(const std::string& progId, const std::string& fontName) {
  calls.push_back("Automation " + progId + " " + fontName);
  const auto it = runningOffice.find(progId);
  if (it == runningOffice.end()) return kAutomationUnreachable;
  it->second = fontName;
  return kAutomationDone;
}

std::vector<std::string> FakePlatform::ScreenFonts() { return fonts; }

std::filesystem::path::string_type FakePlatform::ProgramDirectory() { return programDirectory; }

}  // namespace lk::platform
