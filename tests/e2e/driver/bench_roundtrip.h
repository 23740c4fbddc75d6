#pragma once
#include <string>

namespace lk::e2e {

// Click-to-restored-clipboard time of command 3 against notepad, next to the
// same copy, wrap and paste done by the driver itself with nothing in between;
// median and 95th percentile of `runs` each, after one warm-up.
int BenchRoundTrip(const std::wstring& exe, const std::wstring& workDir, int runs);

}  // namespace lk::e2e
