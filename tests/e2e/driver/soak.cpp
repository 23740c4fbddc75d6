#include "soak.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>

#include "check.h"
#include "control_ids.h"
#include "popups.h"
#include "session.h"
#include "target_link.h"
#include "toolbar_actions.h"
#include "windows_query.h"

namespace lk::e2e {
namespace {

constexpr int kReportedFailures = 20;

class Generator {
 public:
  explicit Generator(unsigned seed) : random_(seed) {}

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::wstring LegacyText(int length) {
    std::wstring text;
    for (int i = 0; i < length; ++i) text += LegacyChar(static_cast<unsigned char>(Between(32, 255)));
    return text;
  }

  // Legacy characters with a line break now and then.
  std::wstring NotepadText() {
    std::wstring text;
    const int length = Between(1, 60);
    for (int i = 0; i < length; ++i) {
      text += Between(0, 9) == 0 ? std::wstring(L"\r\n") : std::wstring(1, LegacyChar(Between(32, 255)));
    }
    return text;
  }

  // A non-empty selection that does not split a line break.
  std::pair<int, int> Selection(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    int start = Between(0, size - 1);
    int end = Between(start + 1, size);
    if (start > 0 && text[start] == L'\n') --start;
    if (end < size && text[end - 1] == L'\r') ++end;
    return {start, end};
  }

  UserClipboard Clipboard() {
    UserClipboard user;
    const int kind = Between(0, 19);  // 14 in 20 text, 3 a picture, 3 both
    if (kind < 14 || kind >= 17) user.text = LegacyText(Between(0, 200));
    if (kind >= 14) {
      user.dib = MakeDib(Between(1, 16), Between(1, 16), static_cast<unsigned>(Between(1, 1 << 30)));
    }
    return user;
  }

 private:
  std::mt19937 random_;
};

void Report(int round, const std::string& what) {
  std::printf("soak: round %d: %s\n", round, what.c_str());
  std::fflush(stdout);
}

}  // namespace

// Letters of the two shortcuts found more often than the expected text has
// them: a shortcut whose Ctrl went missing, typed into the target.
bool HasStrayLetters(const std::wstring& text, const std::wstring& expected) {
  for (const wchar_t letter : {L'c', L'v', L'C', L'V'}) {
    if (std::count(text.begin(), text.end(), letter) > std::count(expected.begin(), expected.end(), letter))
      return true;
  }
  return false;
}

int Soak(const std::wstring& exe, const std::wstring& workDir, int rounds, unsigned seed, bool keysOnly) {
  const char* target = keysOnly ? "keys-only stand-in" : "notepad";
  std::printf("soak: seed=%u rounds=%d target=%s\n", seed, rounds, target);
  std::fflush(stdout);
  int wrong = 0;
  int lost = 0;
  int stray = 0;
  int done = 0;
  const auto summary = [&] {
    std::printf("soak: %d round trips on %s, %d wrong pastes, %d lost clipboards, %d with stray characters\n",
                done, target, wrong, lost, stray);
  };
  try {
    TargetRun session(Context{exe, workDir, SystemDpi(), keysOnly ? L"soak_keys" : L"soak"},
                      keysOnly ? Target::kKeysOnly : Target::kNotepad);
    SetTargetField(session.toolbar, session.target.Title());
    Generator generate(seed);
    for (int round = 1; round <= rounds; ++round) {
      const std::wstring before = generate.NotepadText();
      const auto [start, end] = generate.Selection(before);
      UserClipboard user = generate.Clipboard();
      const std::wstring pasted = L"-" + before.substr(start, end - start) + L"_";
      // The program pastes nothing when the new text is the user's own.
      while (user.text == pasted) user.text = generate.LegacyText(8);
      const std::wstring expected = before.substr(0, start) + pasted + before.substr(end);

      PrepareTarget(session.target, before, start, end, user);
      const RoundTrip trip = ClickAndAwait(session.toolbar, kCommand3, session.target, before, user);
      const bool pasteWrong = !trip.changed || trip.text != expected;
      wrong += pasteWrong;
      lost += !trip.restored;
      stray += HasStrayLetters(trip.text, expected);
      if (pasteWrong && wrong + lost <= kReportedFailures) {
        Report(round, "notepad holds " + Quote(trip.text) + ", expected " + Quote(expected) +
                          " (selection " + std::to_string(start) + ".." + std::to_string(end) +
                          " of " + Quote(before) + ")" + DescribePopups(session.toolbar));
      }
      if (!trip.restored && wrong + lost <= kReportedFailures) {
        Report(round, "clipboard holds " + Describe(trip.clipboard) + ", expected " + Describe(user));
      }
      if (pasteWrong || !trip.restored) DismissPopups(session.toolbar);
      done = round;
      if (round % 50 == 0) {
        std::printf("soak: %d/%d, %d wrong, %d lost, %d stray\n", round, rounds, wrong, lost, stray);
        std::fflush(stdout);
      }
    }
    session.toolbar.Close();
  } catch (const std::exception& error) {
    std::printf("soak: stopped after %d round trips: %s\n", done, error.what());
    summary();
    return 1;
  }
  summary();
  return wrong == 0 && lost == 0 && stray == 0 ? 0 : 1;
}

}  // namespace lk::e2e
