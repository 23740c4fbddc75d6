#include "bench_roundtrip.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "check.h"
#include "control_ids.h"
#include "input.h"
#include "session.h"
#include "target_link.h"
#include "toolbar_actions.h"
#include "windows_query.h"
#include "wait.h"

namespace lk::e2e {
namespace {

constexpr DWORD kBoundMs = 8000;

double Now() {
  LARGE_INTEGER frequency{}, now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Nearest rank.
double P95(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(values.size())));
  return values[std::max<std::size_t>(rank, 1) - 1];
}

// The round trip with nothing but the work itself: the target already in front
// with its selection; copy, wrap, offer, paste, restore.
double Reference(const TargetApp& notepad, const std::wstring& before) {
  Clipboard& clipboard = Clipboard::Instance();
  const double start = Now();
  const UserClipboard saved = clipboard.Read();
  clipboard.Clear();
  PressKeys({VK_CONTROL, 'C'});
  Expect(WaitUntil([] { return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; }, kBoundMs, 1),
         "reference: the target put nothing on the clipboard after Ctrl+C");
  const UserClipboard copied = clipboard.Read();
  clipboard.Offer(L"-" + copied.text.value_or(L"") + L"_");
  PressKeys({VK_CONTROL, 'V'});
  Expect(WaitUntil([&] { return clipboard.OfferTaken(); }, kBoundMs, 1),
         "reference: the target did not read the offered text");
  clipboard.Put(saved);
  Expect(WaitUntil([&] { return notepad.Text() != before; }, kBoundMs, 1),
         "reference: the target's text did not change");
  Expect(SameClipboard(clipboard.Read(), saved), "reference: the clipboard was not restored");
  return Now() - start;
}

void Print(const char* name, const std::vector<double>& times) {
  std::printf("%s median_ms=%.1f p95_ms=%.1f min_ms=%.1f max_ms=%.1f runs=%zu\n", name, Median(times),
              P95(times), *std::min_element(times.begin(), times.end()),
              *std::max_element(times.begin(), times.end()), times.size());
}

}  // namespace

int BenchRoundTrip(const std::wstring& exe, const std::wstring& workDir, int runs, bool keysOnly) {
  try {
    TargetRun session(Context{exe, workDir, SystemDpi(), keysOnly ? L"bench_roundtrip_keys" : L"bench_roundtrip"},
                      keysOnly ? Target::kKeysOnly : Target::kNotepad);
    SetTargetField(session.toolbar, session.target.Title());
    std::printf("target=%s\n", keysOnly ? "keys-only stand-in (keystroke path)" : "notepad (message path)");
    std::vector<double> toolbarTimes, referenceTimes;
    for (int run = -1; run < runs; ++run) {  // run -1 warms both up
      const std::wstring before = L"bench round trip " + std::to_wstring(run + 1) + L" end";
      const std::wstring expected = L"bench -round_ trip " + std::to_wstring(run + 1) + L" end";
      const UserClipboard user{L"user text " + std::to_wstring(run + 1), {}};

      PrepareTarget(session.target, before, 6, 11, user);
      const RoundTrip trip = ClickAndAwait(session.toolbar, kCommand3, session.target, before, user, 1);
      Expect(trip.changed && trip.text == expected,
             "the program's round trip left " + Quote(trip.text) + ", expected " + Quote(expected));
      Expect(trip.restored, "the program's round trip left " + Describe(trip.clipboard) +
                                " on the clipboard, expected " + Describe(user));

      PrepareTarget(session.target, before, 6, 11, user);
      const double reference = Reference(session.target, before);
      const std::wstring text = session.target.Text();
      Expect(text == expected, "the reference round trip left " + Quote(text) + ", expected " +
                                   Quote(expected));
      if (run >= 0) {
        toolbarTimes.push_back(trip.ms);
        referenceTimes.push_back(reference);
      }
    }
    session.toolbar.Close();
    Print("lekhopakar", toolbarTimes);
    Print("reference", referenceTimes);
    std::printf("lekhopakar median_ms=%.1f p95_ms=%.1f reference median_ms=%.1f p95_ms=%.1f ratio=%.2f\n",
                Median(toolbarTimes), P95(toolbarTimes), Median(referenceTimes), P95(referenceTimes),
                Median(toolbarTimes) / Median(referenceTimes));
    return 0;
  } catch (const std::exception& error) {
    std::printf("bench-roundtrip failed: %s\n", error.what());
    return 1;
  }
}

}  // namespace lk::e2e
