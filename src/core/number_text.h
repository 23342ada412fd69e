#pragma once

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
std::optional<double> parse_number(std::string_view text);

}  // namespace vesk
