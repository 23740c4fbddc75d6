// How long the toolbar takes to react to a font choice (relabelling and
// refonting the 224 keys), measured from outside: SendMessage to another
// process returns when the window procedure has, so the time around it is the
// reaction's time plus one cross-process round trip.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "bench.h"
#include "check.h"
#include "control_ids.h"
#include "program_folder.h"
#include "toolbar_process.h"
#include "windows_query.h"

namespace lk::e2e {
namespace {

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  // Nearest rank: the smallest value with at least `fraction` of all at or below it.
  const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
  return values[std::max<std::size_t>(rank, 1) - 1];
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int BenchRelabel(const std::wstring& exe, const std::wstring& workDir, int runs) {
  try {
    ProgramFolder folder(exe, workDir, L"bench_relabel");
    Toolbar toolbar(folder.ExePath(), folder.Dir());
    HWND fonts = toolbar.Control(kFonts);
    const std::wstring names[] = {L"DejaVu Sans", L"DejaVu Serif"};
    int indices[2];
    for (int i = 0; i < 2; ++i) {
      indices[i] = ComboFindExact(fonts, names[i]);
      Expect(indices[i] >= 0, "the font list has no entry " + Quote(names[i]));
    }
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    std::vector<double> reaction;
    for (int run = -1; run < runs; ++run) {  // run -1 warms up
      const int index = indices[(run + 2) % 2];
      SendOrFail(fonts, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
      LARGE_INTEGER start{}, chosen{};
      QueryPerformanceCounter(&start);
      SendOrFail(toolbar.Window(), WM_COMMAND, MAKEWPARAM(kFonts, CBN_SELCHANGE), reinterpret_cast<LPARAM>(fonts));
      QueryPerformanceCounter(&chosen);
      if (run >= 0) reaction.push_back(Milliseconds(start, chosen, frequency));
    }
    std::printf("relabel median_ms=%.2f p95_ms=%.2f (n=%d, goal <= 16 ms)\n", Median(reaction),
                Percentile(reaction, 0.95), runs);
    toolbar.Close();
    return 0;
  } catch (const std::exception& error) {
    std::printf("bench-relabel failed: %s\n", error.what());
    return 1;
  }
}

}  // namespace lk::e2e
