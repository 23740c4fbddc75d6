#include "support/fake_platform.h"

#include <algorithm>

namespace lk::platform {
namespace {

constexpr unsigned char kControl = 0x11;
constexpr unsigned char kAlt = 0x12;
constexpr unsigned char kShift = 0x10;
constexpr unsigned char kC = 0x43;
constexpr unsigned char kV = 0x56;

bool IsModifier(unsigned char key) { return key == kControl || key == kAlt || key == kShift; }

}  // namespace

int FakePlatform::Count(const std::string& prefix) const {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                        [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

int FakePlatform::KeysTo(WindowHandle window) const {
  return static_cast<int>(
      std::count_if(keyLog_.begin(), keyLog_.end(), [&](const auto& e) { return e.first == window; }));
}

std::vector<KeyStroke> FakePlatform::StrokesTo(WindowHandle window) const {
  std::vector<KeyStroke> strokes;
  for (const auto& [to, stroke] : keyLog_)
    if (to == window) strokes.push_back(stroke);
  return strokes;
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

std::string FakePlatform::GetWindowClassName(WindowHandle window) {
  const auto it = windows.find(window);
  return it == windows.end() ? std::string() : it->second.className;
}

void FakePlatform::FlashWindow(WindowHandle window) { calls.push_back("FlashWindow " + std::to_string(window)); }

void FakePlatform::DragWindow(WindowHandle window) { calls.push_back("DragWindow " + std::to_string(window)); }

void FakePlatform::ShowDropDown(WindowHandle comboBox) {
  calls.push_back("ShowDropDown " + std::to_string(comboBox));
}

Activation FakePlatform::ActivateWindow(WindowHandle window) {
  calls.push_back("Activate " + std::to_string(window));
  if (!windows.count(window)) return {kNoSuchWindow, "Invalid procedure call or argument"};
  foreground = stealForegroundTo ? stealForegroundTo : window;
  return {};
}

std::size_t FakePlatform::SendKeys(const std::vector<KeyStroke>& strokes) {
  if (releaseModifiersBetweenInputs)
    for (auto it = keysDown_.begin(); it != keysDown_.end();) it = IsModifier(*it) ? keysDown_.erase(it) : ++it;
  std::size_t sent = 0;
  for (const auto& stroke : strokes) {
    if (sent == acceptKeys) break;
    ++sent;
    keyLog_.emplace_back(foreground, stroke);
    if (stroke.up) {
      keysDown_.erase(stroke.virtualKey);
      continue;
    }
    keysDown_.insert(stroke.virtualKey);
    const auto target = targets.find(foreground);
    if (target == targets.end() || target->second.hung || IsModifier(stroke.virtualKey)) continue;
    const bool control = keysDown_.count(kControl) != 0;
    const bool alt = keysDown_.count(kAlt) != 0;
    if (control && stroke.virtualKey == kC) {
      if (target->second.copyDelay.count() >= 0) pending_.push_back({foreground, true, now + target->second.copyDelay});
    } else if (control && stroke.virtualKey == kV) {
      pending_.push_back({foreground, false, now + target->second.readDelay});
    } else if (!control && !alt && stroke.virtualKey >= 'A' && stroke.virtualKey <= 'Z') {
      // The letter without its Ctrl: typed over the selection.
      target->second.typed += static_cast<char>(stroke.virtualKey - 'A' + 'a');
    } else if (!alt && stroke.virtualKey >= 0x60 && stroke.virtualKey <= 0x69) {
      // A keypad digit outside an Alt entry: typed as itself.
      target->second.typed += static_cast<char>('0' + stroke.virtualKey - 0x60);
    }
  }
  return sent;
}

void FakePlatform::TypeUnicode(char16_t unit) {
  typedUnicode.push_back(unit);
  keyLog_.emplace_back(foreground, KeyStroke{0, false});
  const auto target = targets.find(foreground);
  if (target != targets.end() && unit < 0x80) target->second.typed += static_cast<char>(unit);
}

WindowHandle FakePlatform::FocusedEditControl(WindowHandle window) {
  const auto it = targets.find(window);
  return it == targets.end() ? 0 : it->second.edit;
}

FakePlatform::Target* FakePlatform::TargetOfEdit(WindowHandle control) {
  for (auto& [window, target] : targets)
    if (control && target.edit == control) return &target;
  return nullptr;
}

void FakePlatform::Copy(Target& target) {
  // An empty selection copies nothing and leaves the clipboard alone.
  if (target.selection.empty()) return;
  clipboardOther.clear();
  clipboardMarked = false;
  offerTaken = false;
  clipboardHasText = true;
  clipboardText = target.selection;
}

void FakePlatform::Read(Target& target) {
  if (clipboardMarked) offerTaken = true;
  target.pasted.push_back(clipboardHasText ? clipboardText : std::string());
}

bool FakePlatform::SendEditRequest(WindowHandle control, EditRequest request, std::chrono::milliseconds bound) {
  Target* target = TargetOfEdit(control);
  if (!target) return false;
  if (target->hung) {
    now += bound;
    return false;
  }
  if (request == EditRequest::kCopy) {
    Copy(*target);
  } else if (target->deferPasteRequest) {
    const auto window = std::find_if(targets.begin(), targets.end(), [&](auto& t) { return &t.second == target; });
    pending_.push_back({window->first, false, now + target->readDelay});
  } else {
    Read(*target);
  }
  return true;
}

void FakePlatform::Pump() {
  for (auto it = pending_.begin(); it != pending_.end();) {
    if (now < it->at) {
      ++it;
      continue;
    }
    auto& target = targets[it->window];
    if (it->copy)
      Copy(target);
    else
      Read(target);
    it = pending_.erase(it);
  }
}

bool FakePlatform::WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
  const auto deadline = now + bound;
  for (;;) {
    Pump();
    if (condition()) return true;
    if (now >= deadline) return false;
    now += std::chrono::milliseconds(1);
  }
}

WindowHandle FakePlatform::ForegroundWindow() { return foreground; }

bool FakePlatform::ModifiersDown() { return now < modifiersHeldFor; }

bool FakePlatform::CatchUpWith(WindowHandle window, std::chrono::milliseconds bound) {
  const auto it = targets.find(window);
  if (it == targets.end() || !it->second.hung) return true;
  now += bound;
  return false;
}

bool FakePlatform::HasAltNumpadEntry() { return altNumpadEntry; }

bool FakePlatform::ClipboardHasText() { return clipboardHasText; }

std::string FakePlatform::ClipboardGetText() {
  if (clipboardLocked) return {};
  return clipboardHasText ? clipboardText : std::string();
}

bool FakePlatform::ClipboardClear() {
  if (clipboardLocked) return false;
  clipboardHasText = false;
  clipboardText.clear();
  clipboardOther.clear();
  clipboardMarked = false;
  return true;
}

ClipboardSnapshot FakePlatform::ClipboardSave() {
  ClipboardSnapshot snapshot;
  if (clipboardLocked) return snapshot;
  snapshot.items = clipboardOther;
  snapshot.hasText = clipboardHasText;
  snapshot.text = clipboardText;
  return snapshot;
}

bool FakePlatform::ClipboardRestore(const ClipboardSnapshot& snapshot) {
  if (clipboardLocked) return false;
  clipboardOther = snapshot.items;
  clipboardHasText = snapshot.hasText;
  clipboardText = snapshot.text;
  clipboardMarked = false;
  return true;
}

bool FakePlatform::ClipboardOffer(const std::string& text) {
  if (clipboardLocked) return false;
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
