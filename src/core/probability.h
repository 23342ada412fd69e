#pragma once

#include <string>

namespace vesk {

// A probability that stays positive below the smallest double: two fully separated samples of
// 600 records give a p-value near 10^-360. It keeps the double as computed where that is
// exact enough, and its natural logarithm for what lies below.
class Probability {
  public:
    // value in [0, 1].
    static Probability of(double value);
    // log_value <= 0; a larger one (rounding in a sum) is taken as 1.
    static Probability from_log(double log_value);

    // 0 below what a double holds.
    double value() const { return value_; }
    double log() const { return log_; }
    // Below the smallest normal double, where value() has lost its digits or reads 0.
    bool below_double_range() const;

    // factor times the probability, at most 1: the step of Holm's and Benjamini-Hochberg's
    // adjustments.
    Probability scaled(double factor) const;

    // By the double, and below its range by the logarithm.
    friend bool operator<(const Probability& a, const Probability& b) {
        return a.value_ < b.value_ || (a.value_ == b.value_ && a.log_ < b.log_);
    }
    friend bool operator==(const Probability& a, const Probability& b) = default;

  private:
    Probability(double value, double log_value) : value_(value), log_(log_value) {}

    double value_;
    double log_;
};

// The general form of the value (0.0123, 4.9e-12), or below the double range its leading six
// digits with the exponent from the logarithm (4.94728e-360).
std::string probability_text(const Probability& p);

}  // namespace vesk
