#include "runtest/runs_distribution.h"

#include <boost/math/distributions/normal.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vesk {

namespace {

constexpr double minus_infinity = -std::numeric_limits<double>::infinity();

double log_choose(std::int64_t a, std::int64_t b) {
    if (b < 0 || a < 0 || b > a) {
        return minus_infinity;
    }
    using boost::math::lgamma;
    return lgamma(static_cast<double>(a + 1)) - lgamma(static_cast<double>(b + 1)) -
           lgamma(static_cast<double>(a - b + 1));
}

double log_add(double a, double b) {
    if (a == minus_infinity) {
        return b;
    }
    if (b == minus_infinity) {
        return a;
    }
    const double high = std::max(a, b);
    return high + std::log1p(std::exp(std::min(a, b) - high));
}

// log P(R = r); -inf where r cannot occur.
double log_runs_probability(std::int64_t n, std::int64_t m, std::int64_t r) {
    if (n < 0 || m < 0 || r < 1) {
        return minus_infinity;
    }
    if (n == 0 || m == 0) {
        return r == 1 && n + m > 0 ? 0.0 : minus_infinity;
    }
    const double log_orders = log_choose(n + m, n);
    if (r % 2 == 0) {
        // r/2 runs of each kind, starting with either.
        const std::int64_t k = r / 2;
        return std::log(2.0) + log_choose(n - 1, k - 1) + log_choose(m - 1, k - 1) - log_orders;
    }
    // (r+1)/2 runs of one kind and (r-1)/2 of the other.
    const std::int64_t k = (r - 1) / 2;
    return log_add(log_choose(n - 1, k) + log_choose(m - 1, k - 1),
                   log_choose(n - 1, k - 1) + log_choose(m - 1, k)) -
           log_orders;
}

}  // namespace

double runs_probability(std::int64_t n, std::int64_t m, std::int64_t r) {
    return std::exp(log_runs_probability(n, m, r));
}

double runs_cdf(std::int64_t n, std::int64_t m, std::int64_t r) {
    double log_sum = minus_infinity;
    const std::int64_t most = std::min(r, n + m);
    for (std::int64_t j = 1; j <= most; ++j) {
        log_sum = log_add(log_sum, log_runs_probability(n, m, j));
    }
    return std::min(1.0, std::exp(log_sum));
}

double normal_lower_tail(double z) {
    return boost::math::cdf(boost::math::normal_distribution<double>(0.0, 1.0), z);
}

std::optional<double> runs_p_value(std::int64_t n, std::int64_t m, std::int64_t r, double z) {
    if (n < 2 || m < 2) {
        return std::nullopt;
    }
    if (n + m <= exact_runs_limit) {
        return runs_cdf(n, m, r);
    }
    if (!std::isfinite(z)) {
        return std::nullopt;
    }
    return normal_lower_tail(z);
}

RunsMoments runs_moments(double n, double m) {
    const double erun = (2 * m * n) / (m + n) + 1;
    const double vrun = (2 * m * n) * (2 * m * n - m - n) / ((m + n) * (m + n) * (m + n - 1));
    return {erun, vrun};
}

double runs_z(double runs, const RunsMoments& moments) {
    return (runs - moments.erun) / std::sqrt(moments.vrun);
}

}  // namespace vesk
