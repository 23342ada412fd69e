#include "core/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

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

bool is_digit(char c) { return c >= '0' && c <= '9'; }

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

}  // namespace

std::optional<double> parse_number(std::string_view text) {
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
    // from_chars takes no plus sign.
    const std::size_t skip = literal.front() == '+' ? 1 : 0;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(literal.data() + skip, literal.data() + literal.size(),
                                           value, std::chars_format::general);
    if (ec != std::errc{} || ptr != literal.data() + literal.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace vesk
