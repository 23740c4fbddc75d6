#pragma once
#include <string>

namespace lk::e2e {

// `rounds` round trips of command 3 against notepad with random notepad
// texts, selections and user clipboards (texts, pictures, both); counts the
// wrong pastes and the lost clipboards. Exit code 1 when either is not 0.
// Against notepad (asked by message) or, with keysOnly, the stand-in that
// takes copy and paste only as keys.
int Soak(const std::wstring& exe, const std::wstring& workDir, int rounds, unsigned seed, bool keysOnly);

}  // namespace lk::e2e
