#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vesk {

// General form: up to 15 significant digits, a point as decimal separator, a zero before the
// point below 1, a sign only when negative, no point for whole numbers (7, 0.84,
// -0.436435780471985).
std::string general_form(double value);

// Signed form: the general form with one leading blank for a value that is not negative and no
// zero before the point below 1 (" 3", " .84", "-.436435780471985").
std::string signed_form(double value);

// Reads a number written like a numeric literal: optional blanks, an optional sign right before
// the digits, digits with at most one point and at least one digit, an optional exponent, optional
// blanks. The point is the decimal separator whatever the locale. Anything else (a decimal comma,
// inf, nan, hexadecimal, a sign followed by a blank, a value out of range) gives no number.
//
// With implied decimals d, a literal written without a point stands for its value times 10^-d
// (12345 with 2 is 123.45), read from the digits, so the result is the double nearest to that
// decimal; a literal with a point is taken as written.
std::optional<double> parse_number(std::string_view text, int implied_decimals = 0);

// The only sources of fill characters for pad_field, so no field gets more than 64 of them.
inline const std::string zeros64(64, '0');
inline const std::string spaces64(64, ' ');

// Right-justifies the trimmed value in width characters, filled with blanks (blanks true) or
// zeros. At most 64 fill characters are used, so a wider field comes out shorter. A trimmed value
// longer than width is cut to the first width characters of the value as passed, blanks included.
std::string pad_field(std::string_view value, std::int64_t width, bool blanks);

}  // namespace vesk
