#include <cctype>
#include "support/fake_platform.h"

#include <algorithm>

namespace lk::platform {
namespace {

// The character a key types when no Ctrl or Alt is down.
char Typed(Key key) {
  if (key == Key::kC) return 'c';
  if (key == Key::kV) return 'v';
  return static_cast<char>('0' + static_cast<int>(key) - static_cast<int>(Key::kNumpad0));
}

std::string StyleText(BoxStyle style) {
  const char* kinds[] = {"plain", "information", "stop", "yes-no"};
  return std::string(kinds[static_cast<int>(style.kind)]) + (style.systemModal ? " system-modal" : "");
}

}  // namespace

int FakePlatform::Count(const std::string& prefix) const {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                        [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

int FakePlatform::KeysTo(WindowHandle window) const {
  return static_cast<int>(
      std::count_if(keyLog_.begin(), keyLog_.end(), [&](const auto& e) { return e.first == window; }) +
      std::count(unicodeLog_.begin(), unicodeLog_.end(), window));
}

std::vector<KeyStroke> FakePlatform::StrokesTo(WindowHandle window) const {
  std::vector<KeyStroke> strokes;
  for (const auto& [to, stroke] : keyLog_)
    if (to == window) strokes.push_back(stroke);
  return strokes;
}

std::vector<WindowHandle> FakePlatform::EnumTopLevel() {
  if (!zOrder.empty()) return zOrder;
  std::vector<WindowHandle> all;
  for (const auto& [handle, window] : windows) all.push_back(handle);
  return all;
}

bool FakePlatform::Exists(WindowHandle window) { return windows.count(window) != 0; }

bool FakePlatform::IsVisible(WindowHandle window) {
  const auto it = windows.find(window);
  return it != windows.end() && it->second.visible;
}

bool FakePlatform::IsEnabled(WindowHandle window) {
  const auto it = windows.find(window);
  return it != windows.end() && it->second.enabled;
}

std::string FakePlatform::Title(WindowHandle window) {
  const auto it = windows.find(window);
  return it == windows.end() ? std::string() : it->second.title;
}

std::string FakePlatform::ClassName(WindowHandle window) {
  const auto it = windows.find(window);
  return it == windows.end() ? std::string() : it->second.className;
}

void FakePlatform::Flash(WindowHandle window) { calls.push_back("FlashWindow " + std::to_string(window)); }

Activation FakePlatform::Activate(WindowHandle window) {
  calls.push_back("Activate " + std::to_string(window));
  if (!windows.count(window)) return Activation::kNoSuchWindow;
  foreground = stealForegroundTo ? stealForegroundTo : window;
  return Activation::kDone;
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
      keysDown_.erase(stroke.key);
      continue;
    }
    keysDown_.insert(stroke.key);
    const auto target = targets.find(foreground);
    if (target == targets.end() || target->second.hung || IsModifier(stroke.key)) continue;
    const bool control = keysDown_.count(Key::kControl) != 0;
    const bool alt = keysDown_.count(Key::kAlt) != 0;
    if (control && stroke.key == Key::kC) {
      if (target->second.copyDelay.count() >= 0) pending_.push_back({foreground, true, now + target->second.copyDelay});
    } else if (control && stroke.key == Key::kV) {
      pending_.push_back({foreground, false, now + target->second.readDelay});
    } else if (!control && !alt) {
      // A letter without its Ctrl, or a keypad digit outside an Alt entry:
      // typed over the selection as itself.
      target->second.typed += Typed(stroke.key);
    }
  }
  return sent;
}

void FakePlatform::TypeUnicode(char16_t unit) {
  typedUnicode.push_back(unit);
  unicodeLog_.push_back(foreground);
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
  clipboardOther = target.selectionFormats;
  if (target.holdsClipboard) clipboardLocked = true;
}

void FakePlatform::Read(Target& target) {
  if (clipboardMarked) offerTaken = true;
  target.pasted.push_back(clipboardHasText ? clipboardText : std::string());
  target.pastedRtf.push_back(ClipboardRtf().value_or(std::string()));
  if (target.holdsClipboard) clipboardLocked = true;
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

std::optional<EditSelection> FakePlatform::SelectionOf(WindowHandle control) {
  const Target* target = TargetOfEdit(control);
  if (!target || target->hung) return std::nullopt;
  // Every paste leaves the caret somewhere new.
  const auto caret = static_cast<unsigned long>(target->pasted.size());
  return EditSelection{caret, caret};
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

WindowHandle FakePlatform::Foreground() { return foreground; }

bool FakePlatform::ModifiersDown() { return now < modifiersHeldFor; }

bool FakePlatform::CatchUpWith(WindowHandle window, std::chrono::milliseconds bound) {
  const auto it = targets.find(window);
  if (it == targets.end() || !it->second.hung) return true;
  now += bound;
  return false;
}

bool FakePlatform::HasAltNumpadEntry() { return altNumpadEntry; }

bool FakePlatform::HasText() { return clipboardHasText; }

std::string FakePlatform::GetText() {
  if (clipboardLocked) return {};
  return clipboardHasText ? clipboardText : std::string();
}

std::optional<std::string> FakePlatform::ClipboardRtf() const {
  for (const ClipboardItem& item : clipboardOther)
    if (item.name == kRichTextFormat)
      return std::string(reinterpret_cast<const char*>(item.bytes.data()), item.bytes.size());
  return std::nullopt;
}

std::optional<std::string> FakePlatform::GetRichText(std::size_t maxBytes) {
  if (clipboardLocked) return std::nullopt;
  auto rtf = ClipboardRtf();
  if (!rtf || rtf->size() > maxBytes) return std::nullopt;
  return rtf;
}

bool FakePlatform::Clear() {
  if (clipboardLocked) return false;
  clipboardHasText = false;
  clipboardText.clear();
  clipboardOther.clear();
  clipboardMarked = false;
  return true;
}

std::optional<ClipboardSnapshot> FakePlatform::Save() {
  if (clipboardLocked) return std::nullopt;
  ++clipboardSaves;
  ClipboardSnapshot snapshot;
  snapshot.items = clipboardOther;
  snapshot.hasText = clipboardHasText;
  snapshot.text = clipboardText;
  return snapshot;
}

bool FakePlatform::Restore(const ClipboardSnapshot& snapshot) {
  if (clipboardLocked) return false;
  ++clipboardRestores;
  clipboardOther = snapshot.items;
  clipboardHasText = snapshot.hasText;
  clipboardText = snapshot.text;
  clipboardMarked = false;
  return true;
}

bool FakePlatform::Offer(std::string text, std::string rtf, Rendering rendering) {
  if (clipboardLocked) return false;
  offerRendering = rendering;
  clipboardOther.clear();
  if (!rtf.empty()) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(rtf.data());
    clipboardOther.push_back({0xC001, std::string(kRichTextFormat), {bytes, bytes + rtf.size()}});
  }
  clipboardHasText = true;
  clipboardText = std::move(text);
  clipboardMarked = true;
  offerTaken = false;
  return true;
}

bool FakePlatform::OfferTaken() { return offerTaken || offerRendering == Rendering::kAtOnce; }

std::string FakePlatform::BoxLine(const std::string& text, BoxStyle style, const std::optional<std::string>& title) {
  return "MessageBox [" + text + "] " + StyleText(style) + " title " +
         (title ? "[" + *title + "]" : std::string("(default)"));
}

BoxAnswer FakePlatform::ShowMessage(const std::string& text, BoxStyle style, const std::optional<std::string>& title) {
  calls.push_back(BoxLine(text, style, title));
  clipboardAtBoxes.push_back(clipboardHasText ? clipboardText : std::string());
  if (messageBoxAnswers.empty()) return BoxAnswer::kOk;
  const BoxAnswer answer = messageBoxAnswers.front();
  messageBoxAnswers.pop_front();
  return answer;
}

AutomationResult FakePlatform::SetSelectionFont(OfficeApplication application, const std::string& fontName) {
  calls.push_back(std::string("Automation ") + (application == OfficeApplication::kWord ? "Word " : "Excel ") +
                  fontName);
  const auto it = runningOffice.find(application);
  if (it == runningOffice.end()) return AutomationResult::kUnreachable;
  it->second = fontName;
  return AutomationResult::kDone;
}

std::vector<std::string> FakePlatform::ScreenFonts() { return fonts; }

std::optional<std::string> FakePlatform::ScreenFontNamed(const std::string& name) {
  const auto lower = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  };
  for (const auto& font : fonts)
    if (lower(font) == lower(name)) return font;
  return std::nullopt;
}

std::filesystem::path::string_type FakePlatform::ProgramDirectory() { return programDirectory; }

bool FakePlatform::OpenFolder(const std::filesystem::path& folder) {
  calls.push_back("OpenFolder " + folder.generic_string());
  return true;
}

}  // namespace lk::platform
