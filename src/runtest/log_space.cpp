#include "runtest/log_space.h"

#include <algorithm>
#include <cmath>

namespace vesk {

double log_choose(std::int64_t a, std::int64_t b) {
    if (b < 0 || a < 0 || b > a) {
        return minus_infinity;
    }
    // Differences of large log-gamma values lose digits; a short product keeps them.
    const std::int64_t k = std::min(b, a - b);
    if (k <= 64) {
        double sum = 0;
        for (std::int64_t i = 1; i <= k; ++i) {
            sum += std::log(static_cast<double>(a - k + i) / static_cast<double>(i));
        }
        return sum;
    }
    return std::lgamma(static_cast<double>(a + 1)) - std::lgamma(static_cast<double>(b + 1)) -
           std::lgamma(static_cast<double>(a - b + 1));
}

void LogSum::add(double term) {
    if (term == minus_infinity) {
        return;
    }
    if (term > high_) {
        scaled_ = scaled_ * std::exp(high_ - term) + 1;
        high_ = term;
    } else {
        scaled_ += std::exp(term - high_);
    }
}

double LogSum::log() const {
    return scaled_ > 0 ? high_ + std::log(scaled_) : minus_infinity;
}

}  // namespace vesk
