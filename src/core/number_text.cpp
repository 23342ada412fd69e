#include "core/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "core/text.h"

namespace vesk {

std::string general_form(double value) {
    if (value == 0.0) {
        return "0";  // never "-0"
    }
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return std::string(buffer, static_cast<std::size_t>(n));
}

std::string signed_form(double value) {
    std::string digits = general_form(value);
    const bool negative = digits.front() == '-';
    if (negative) {
        digits.erase(0, 1);
    }
    if (digits.size() > 1 && digits[0] == '0' && digits[1] == '.') {
        digits.erase(0, 1);
    }
    return (negative ? "-" : " ") + digits;
}

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the numeric literal at the start of text, or 0 when there is none.
std::size_t literal_length(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (is_digit(text[i])) {
            ++digits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        const std::size_t exponent_start = j;
        while (j < text.size() && is_digit(text[j])) {
            ++j;
        }
        if (j == exponent_start) {
            return 0;
        }
        i = j;
    }
    return i;
}

// A valid literal of at most 15 digits without exponent, the usual field of a survey file: its
// digits as a whole number are exact in a double, and one division by an exact power of ten
// rounds correctly, so the result is from_chars's at a fraction of its cost. Without a point the
// last implied_decimals digits are the fraction.
std::optional<double> short_decimal(std::string_view literal, int implied_decimals) {
    static constexpr double powers_of_ten[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::size_t i = 0;
    const bool negative = literal[0] == '-';
    if (literal[0] == '+' || negative) {
        ++i;
    }
    std::uint64_t digits = 0;
    int count = 0;
    int fraction = 0;
    bool point = false;
    for (; i < literal.size(); ++i) {
        const char c = literal[i];
        if (c == '.') {
            point = true;
        } else if (is_digit(c)) {
            digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
            fraction += point ? 1 : 0;
            if (++count > 15) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;  // an exponent
        }
    }
    if (!point) {
        if (implied_decimals < 0 || implied_decimals > 15) {
            return std::nullopt;
        }
        fraction = implied_decimals;
    }
    const double value = static_cast<double>(digits) / powers_of_ten[fraction];
    return negative ? -value : value;
}

// The literal, without a point, with its exponent lowered by the implied decimals: the same
// decimal value written for from_chars. Nothing when the exponent does not fit.
std::optional<std::string> shifted_literal(std::string_view literal, int implied_decimals) {
    const std::size_t e = literal.find_first_of("eE");
    std::int64_t exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = literal.substr(e + 1);
        if (!digits.empty() && digits.front() == '+') {
            digits.remove_prefix(1);
        }
        const auto [ptr, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
        // Far beyond the range of a double either way; the bound keeps the shift from overflowing.
        if (ec != std::errc{} || ptr != digits.data() + digits.size() ||
            std::abs(exponent) > 1'000'000) {
            return std::nullopt;
        }
    }
    return std::string(literal.substr(0, e)) + "e" + std::to_string(exponent - implied_decimals);
}

}  // namespace

std::optional<double> parse_number(std::string_view text, int implied_decimals) {
    std::size_t begin = 0;
    while (begin < text.size() && text[begin] == ' ') {
        ++begin;
    }
    std::size_t end = text.size();
    while (end > begin && text[end - 1] == ' ') {
        --end;
    }
    const std::string_view literal = text.substr(begin, end - begin);
    if (literal.empty() || literal_length(literal) != literal.size()) {
        return std::nullopt;
    }
    if (const auto value = short_decimal(literal, implied_decimals)) {
        return value;
    }
    std::optional<std::string> shifted;
    std::string_view decimal = literal;
    if (implied_decimals != 0 && literal.find('.') == std::string_view::npos) {
        shifted = shifted_literal(literal, implied_decimals);
        if (!shifted) {
            return std::nullopt;
        }
        decimal = *shifted;
    }
    // from_chars takes no plus sign.
    const std::size_t skip = decimal.front() == '+' ? 1 : 0;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(decimal.data() + skip, decimal.data() + decimal.size(),
                                           value, std::chars_format::general);
    if (ec != std::errc{} || ptr != decimal.data() + decimal.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string pad_field(std::string_view value, std::int64_t width, bool blanks) {
    const std::string_view t = trim(value);
    const std::int64_t fill = width - static_cast<std::int64_t>(t.size());
    if (fill >= 0) {
        const std::string& source = blanks ? spaces64 : zeros64;
        const auto used = std::min<std::int64_t>(fill, static_cast<std::int64_t>(source.size()));
        return source.substr(0, static_cast<std::size_t>(used)) + std::string(t);
    }
    if (width <= 0) {
        return {};
    }
    return std::string(value.substr(0, static_cast<std::size_t>(width)));
}

}  // namespace vesk
