#pragma once
// Bounded waiting: every wait in the driver polls a condition until it holds
// or a deadline passes, so a slow machine only makes a run slower, never flaky.
#include <windows.h>

namespace lk::e2e {

// Polls `condition` every `pollMs` until it returns true or `timeoutMs` has
// passed; the condition is evaluated once more at the deadline.
template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs, DWORD pollMs = 10) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return condition();
    Sleep(pollMs);
  }
}

// Reads until `read()` gives `expected` or `timeoutMs` has passed, and gives
// the last value read, for a reason that names what was seen instead. With
// a timeout of 0 it reads once: the state as it is now.
template <class Read, class Value>
auto ReadUntil(Read read, const Value& expected, DWORD timeoutMs, DWORD pollMs = 10) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  auto last = read();
  while (!(last == expected) && GetTickCount64() < deadline) {
    Sleep(pollMs);
    last = read();
  }
  return last;
}

// Generous bounds: a cold Wine start of a static exe can take seconds.
inline constexpr DWORD kStartTimeoutMs = 30000;
inline constexpr DWORD kExitTimeoutMs = 15000;
inline constexpr DWORD kUiTimeoutMs = 10000;

}  // namespace lk::e2e
