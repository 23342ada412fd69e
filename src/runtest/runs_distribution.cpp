#include "runtest/runs_distribution.h"

#include <boost/math/distributions/normal.hpp>

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

// A sum of exp(term) kept as exp(high) * scaled, so neither tiny nor huge terms are lost.
class LogSum {
  public:
    void add(double term) {
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
    double log() const { return scaled_ > 0 ? high_ + std::log(scaled_) : minus_infinity; }

  private:
    double high_ = minus_infinity;
    double scaled_ = 0;
};

}  // namespace

double runs_probability(std::int64_t n, std::int64_t m, std::int64_t r) {
    return std::exp(log_runs_probability(n, m, r));
}

double runs_cdf(std::int64_t n, std::int64_t m, std::int64_t r) {
    if (n < 0 || m < 0 || r < 1 || n + m == 0) {
        return 0;
    }
    const std::int64_t most_possible = 2 * std::min(n, m) + (n == m ? 0 : 1);
    if (n == 0 || m == 0 || r >= most_possible) {
        return 1;  // no order has more runs
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
    return std::min(1.0, std::exp(sum.log() - log_choose(n + m, n)));
}

double normal_lower_tail(double z) {
    return boost::math::cdf(boost::math::normal_distribution<double>(0.0, 1.0), z);
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
