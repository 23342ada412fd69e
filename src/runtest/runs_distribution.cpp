#include "runtest/runs_distribution.h"

#include <boost/math/distributions/normal.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "runtest/log_space.h"

namespace vesk {

namespace {

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

// log C(a, k) for k = 0, 1, 2 ... in turn: each from the one before, recomputed in full now and
// then so rounding cannot build up over a long sum.
class LogChooseWalk {
  public:
    explicit LogChooseWalk(std::int64_t a) : a_(a), value_(a >= 0 ? 0.0 : minus_infinity) {}
    double value() const { return value_; }
    void next() {
        ++k_;
        if (k_ > a_) {
            value_ = minus_infinity;
        } else if (k_ % 512 == 0) {
            value_ = log_choose(a_, k_);
        } else {
            value_ += std::log(static_cast<double>(a_ - k_ + 1) / static_cast<double>(k_));
        }
    }

  private:
    std::int64_t a_;
    std::int64_t k_ = 0;
    double value_;
};

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

Probability runs_cdf(std::int64_t n, std::int64_t m, std::int64_t r) {
    if (n < 0 || m < 0 || r < 1 || n + m == 0) {
        return Probability::of(0);
    }
    const std::int64_t most_possible = 2 * std::min(n, m) + (n == m ? 0 : 1);
    if (n == 0 || m == 0 || r >= most_possible) {
        return Probability::of(1);  // no order has more runs
    }
    // With k = r / 2 runs of each kind, walking k up: log C(n-1, k-1), log C(n-1, k) and the
    // same for m.
    LogChooseWalk central_before(n - 1);
    LogChooseWalk central_at(n - 1);
    LogChooseWalk state_before(m - 1);
    LogChooseWalk state_at(m - 1);
    central_at.next();
    state_at.next();
    LogSum sum;
    const double log_two = std::log(2.0);
    for (std::int64_t k = 1; 2 * k <= r; ++k) {
        sum.add(log_two + central_before.value() + state_before.value());  // R = 2k
        if (2 * k + 1 <= r) {                                              // R = 2k + 1
            sum.add(central_at.value() + state_before.value());
            sum.add(central_before.value() + state_at.value());
        }
        for (LogChooseWalk* walk : {&central_before, &central_at, &state_before, &state_at}) {
            walk->next();
        }
    }
    return Probability::from_log(sum.log() - log_choose(n + m, n));
}

Probability normal_lower_tail(double z) {
    const double p = boost::math::cdf(boost::math::normal_distribution<double>(0.0, 1.0), z);
    if (p >= 1e-300 || std::isnan(z)) {
        return Probability::of(p);
    }
    // Far in the tail: the density over |z| times the asymptotic series 1 - 1/z^2 + 3/z^4 - ...,
    // whose first terms are exact to double precision beyond |z| = 37.
    const double w = 1 / (z * z);
    const double series = 1 - w * (1 - 3 * w * (1 - 5 * w * (1 - 7 * w * (1 - 9 * w))));
    return Probability::from_log(-z * z / 2 - std::log(-z) - 0.5 * std::log(2 * std::numbers::pi) +
                                 std::log(series));
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
