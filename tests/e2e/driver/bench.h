#pragma once
#include <string>

namespace lk::e2e {

// Launch-to-visible time of the exe and of Wine's notepad, `runs` times each
// after one warm-up, alternating; prints the medians and their ratio.
int BenchStartup(const std::wstring& exe, const std::wstring& workDir, int runs);

// The toolbar's reaction to `runs` (at least 20) font choices, alternating
// between two installed fonts; prints its median and 95th percentile.
int BenchRelabel(const std::wstring& exe, const std::wstring& workDir, int runs);

}  // namespace lk::e2e
