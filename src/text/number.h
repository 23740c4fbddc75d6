#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lk::text {

// A whole text that reads as a number: blanks around, optional sign, digits,
// optional decimal point and fraction. Empty or all-blank text is no number.
std::optional<double> ParseNumeric(std::string_view s);

// The number at the start of a text, after leading blanks; reading stops at the
// first character that cannot continue it. No number at all gives 0.
double LeadingNumber(std::string_view s);

// Rounds to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double v);

// A whole text converted to a 32-bit integer (rounded half to even); nothing
// when the text is not numeric or the value does not fit.
std::optional<std::int32_t> ToInt32(std::string_view s);

// A number as text with one blank before it when it is not negative
// (" 120", " 0", "-8"), the form in which the program shows and stores numbers.
std::string NumberText(long long value);

}  // namespace lk::text
