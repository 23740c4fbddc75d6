// End-to-end cases of who holds the foreground while the toolbar works: a
// click that acts on the target leaves the target in front with its caret,
// while the fields that take typing still take the keyboard.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cases.h"
#include "check.h"
#include "control_ids.h"
#include "input.h"
#include "session.h"
#include "target_link.h"
#include "toolbar_actions.h"
#include "wait.h"
#include "windows_query.h"

namespace lk::e2e {
namespace {

// Every window that comes to the foreground while it watches. A WinEvent hook
// sees each change, however short; polling on the same thread covers a
// system that delivers no such events across processes.
class ForegroundWatcher {
 public:
  ForegroundWatcher() : thread_([this] { Watch(); }) {
    Expect(WaitUntil([&] { return started_.load(); }, kUiTimeoutMs), "the foreground watcher did not start");
  }
  ~ForegroundWatcher() { Stop(); }
  ForegroundWatcher(const ForegroundWatcher&) = delete;
  ForegroundWatcher& operator=(const ForegroundWatcher&) = delete;

  // The windows seen in front, in order, each change once.
  std::vector<HWND> Stop() {
    if (thread_.joinable()) {
      stop_ = true;
      thread_.join();
    }
    std::lock_guard lock(mutex_);
    return seen_;
  }

 private:
  static void CALLBACK OnEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (object == OBJID_WINDOW && current_) current_->Record(window);
  }

  void Record(HWND window) {
    if (!window) return;
    std::lock_guard lock(mutex_);
    if (seen_.empty() || seen_.back() != window) seen_.push_back(window);
  }

  void Watch() {
    current_ = this;
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &OnEvent, 0, 0,
                                         WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    Record(GetForegroundWindow());
    started_ = true;
    while (!stop_) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Record(GetForegroundWindow());
    }
    if (hook) UnhookWinEvent(hook);
    current_ = nullptr;
  }

  static inline thread_local ForegroundWatcher* current_ = nullptr;
  std::atomic<bool> started_{false};
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<HWND> seen_;
  std::thread thread_;
};

std::string DescribeWindows(const std::vector<HWND>& windows) {
  std::string text;
  for (HWND window : windows) text += (text.empty() ? "" : ", ") + Quote(WindowText(window));
  return "[" + text + "]";
}

GUITHREADINFO GuiThread(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info;
}

std::pair<int, int> Selection(const TargetApp& target) {
  DWORD start = 0, end = 0;
  SendOrFail(target.Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

// Notepad keeps the foreground, the keyboard focus and the caret in its text.
void ExpectTargetKeepsCaret(const TargetApp& target, const std::pair<int, int>& selection, const std::string& when) {
  Expect(GetForegroundWindow() == target.Window(),
         "the foreground window is " + Quote(WindowText(GetForegroundWindow())) + " " + when);
  const GUITHREADINFO info = GuiThread(target.Window());
  Expect(info.hwndFocus == target.Edit(), "notepad's text lost the keyboard focus " + when);
  Expect(info.hwndCaret == target.Edit(), "notepad's text lost its caret " + when);
  const auto now = Selection(target);
  Expect(now == selection, "notepad's selection is " + std::to_string(now.first) + ".." +
                               std::to_string(now.second) + " " + when + ", expected " +
                               std::to_string(selection.first) + ".." + std::to_string(selection.second));
}

void ClicksLeaveTargetInFront(const Context& context) {
  TargetRun run(context, Target::kNotepad, kFactoryNoFont);
  TypeTargetName(run.toolbar, run.target.Title());
  ChooseFont(run.toolbar, L"DejaVu Sans");
  const UserClipboard user{std::wstring(L"user clipboard"), {}};
  PrepareTarget(run.target, L"one two", 3, 3, user);
  Expect(GetForegroundWindow() == run.target.Window(), "notepad is not in front after a click into it");

  std::vector<HWND> seen;
  {
    ForegroundWatcher watcher;
    ClickControl(run.toolbar, kFirstKey + 33);
    run.target.ExpectText(L"oneA two", "after a click on key \"A\"");
    ExpectTargetKeepsCaret(run.target, {4, 4}, "after a click on key \"A\"");

    run.target.Select(5, 8);
    const RoundTrip trip = ClickAndAwait(run.toolbar, kCommand3, run.target, L"oneA two", user);
    ExpectRoundTrip(run.toolbar, run.target, trip, L"oneA two", L"oneA -two_", user, "after a click on Command3");
    ExpectTargetKeepsCaret(run.target, {10, 10}, "after a click on Command3");
    seen = watcher.Stop();
  }
  const bool onlyNotepad = std::all_of(seen.begin(), seen.end(), [&](HWND w) { return w == run.target.Window(); });
  Expect(onlyNotepad, "the foreground went through " + DescribeWindows(seen) + " while a key and a button were clicked");
  Expect(FocusOf(run.toolbar.Window()) != run.toolbar.Control(kFirstKey + 33) &&
             FocusOf(run.toolbar.Window()) != run.toolbar.Control(kCommand3),
         "a clicked button took the toolbar's keyboard focus");

  // The keyboard still types where the caret stands, without a click into notepad.
  TypeText(L"Z");
  run.target.ExpectText(L"oneA -two_Z", "after typing \"Z\" once the clicks were done");
}

// The quick-text field takes typing: a click into it brings the toolbar to
// the front even while notepad holds the foreground.
void QuickTextClickTakesTheKeyboard(const Context& context) {
  TargetRun run(context, Target::kNotepad, kFactoryNoFont);
  PrepareTarget(run.target, L"text", 4, 4, {std::wstring(L"user clipboard"), {}});
  Expect(GetForegroundWindow() == run.target.Window(), "notepad is not in front after a click into it");

  HWND combo = run.toolbar.Control(kQuickText);
  HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
  Expect(edit != nullptr, "the quick-text box has no Edit part");
  // The target field lies over the box's left part until the box has the focus.
  const RECT editRect = ScreenRect(edit);
  const int left = std::max(editRect.left, ScreenRect(run.toolbar.Control(kTargetField)).right);
  LeftClickAt({(left + editRect.right) / 2, (editRect.top + editRect.bottom) / 2});
  Expect(WaitUntil([&] { return GetForegroundWindow() == run.toolbar.Window() && FocusOf(edit) == edit; },
                   kUiTimeoutMs),
         "a click into the quick-text box left " + Quote(WindowText(GetForegroundWindow())) +
             " in front or the box without the focus");
  TypeText(L"qt");
  const std::wstring shown = ReadUntil([&] { return WindowText(combo); }, std::wstring(L"qt"), kUiTimeoutMs);
  Expect(shown == L"qt", "the quick-text box shows " + Quote(shown) + " after typing \"qt\"");
  Expect(run.target.Text() == L"text", "typing into the quick-text box reached notepad");
}

}  // namespace

std::vector<Case> FocusCases() {
  return {
      {"clicks_leave_target_in_front_with_its_caret", ClicksLeaveTargetInFront},
      {"quick_text_click_takes_the_keyboard", QuickTextClickTakesTheKeyboard},
  };
}

}  // namespace lk::e2e
