#pragma once

#include <cstdint>
#include <limits>

namespace vesk {

// Sums of probabilities far below the smallest double, kept as natural logarithms.

inline constexpr double minus_infinity = -std::numeric_limits<double>::infinity();

// log C(a, b); -inf where b < 0 or b > a.
double log_choose(std::int64_t a, std::int64_t b);

// A sum of exp(term) kept as exp(high) * scaled, so neither tiny nor huge terms are lost.
class LogSum {
  public:
    void add(double term);
    double log() const;

  private:
    double high_ = minus_infinity;
    double scaled_ = 0;
};

}  // namespace vesk
