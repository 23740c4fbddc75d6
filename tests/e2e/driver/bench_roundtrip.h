#pragma once
#include <string>

namespace lk::e2e {

// Click-to-restored-clipboard time of command 3 against notepad, next to the
// same copy, wrap and paste done by the driver itself with nothing in between;
// median and 95th percentile of `runs` each, after one warm-up.
// Against notepad (asked by message) or, with keysOnly, the stand-in that
// takes copy and paste only as keys.
int BenchRoundTrip(const std::wstring& exe, const std::wstring& workDir, int runs, bool keysOnly);

}  // namespace lk::e2e
