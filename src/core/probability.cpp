#include "core/probability.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/number_text.h"

namespace vesk {

namespace {

constexpr double smallest_normal = std::numeric_limits<double>::min();

}  // namespace

Probability Probability::of(double value) {
    const double clamped = std::clamp(value, 0.0, 1.0);
    return {clamped, std::log(clamped)};
}

Probability Probability::from_log(double log_value) {
    const double clamped = std::min(log_value, 0.0);
    return {std::exp(clamped), clamped};
}

bool Probability::below_double_range() const {
    return value_ < smallest_normal;
}

Probability Probability::scaled(double factor) const {
    if (!below_double_range()) {
        return of(std::min(1.0, factor * value_));
    }
    return from_log(log_ + std::log(factor));
}

std::string probability_text(const Probability& p) {
    if (!p.below_double_range() || std::isinf(p.log())) {
        return general_form(p.value());
    }
    const double log10_p = p.log() / std::log(10.0);
    double exponent = std::floor(log10_p);
    double mantissa = std::pow(10.0, log10_p - exponent);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%.6g", mantissa);
    if (std::string(digits) == "10") {  // 9.999999 rounded up
        exponent += 1;
        mantissa = 1;
        std::snprintf(digits, sizeof digits, "%.6g", mantissa);
    }
    char text[48];
    std::snprintf(text, sizeof text, "%se%.0f", digits, exponent);
    return text;
}

}  // namespace vesk
