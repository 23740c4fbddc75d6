#pragma once
// Failing a case: a check that does not hold throws CaseFailure with a reason
// that names what was expected and what was seen.
#include <optional>
#include <stdexcept>
#include <string>

namespace lk::e2e {

struct CaseFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] inline void Fail(const std::string& reason) { throw CaseFailure(reason); }

inline void Expect(bool condition, const std::string& reason) {
  if (!condition) Fail(reason);
}

// Printable forms for reasons: ASCII as is, everything else as \u{XXXX} or
// \xNN, so a wrong code point is visible in a log.
std::string Quote(const std::wstring& text);
std::string QuoteBytes(const std::string& bytes);
std::string Narrow(const std::wstring& ascii);
// Quote(text), or `none` when there is no text.
std::string QuoteOr(const std::optional<std::wstring>& text, const std::string& none);

}  // namespace lk::e2e
