#pragma once

#include <cstdint>

#include "core/probability.h"

namespace vesk {

// The exact distribution of the number of runs R in a random order of n records of one kind and
// m of the other, every order equally likely. Computed in log space, so it stays finite for
// groups of any size.
double runs_probability(std::int64_t n, std::int64_t m, std::int64_t r);
// P(R <= r): the one-sided p-value for too few runs. The sum has at most 2 min(n, m) + 1 terms,
// each found from the one before, so a group of a million records costs milliseconds.
Probability runs_cdf(std::int64_t n, std::int64_t m, std::int64_t r);

// The lower-tail normal p-value of z: the chance of a z this small or smaller, also beyond the
// double range.
Probability normal_lower_tail(double z);

// The expected number of runs, its variance and z, as the result table holds them.
struct RunsMoments {
    double erun;
    double vrun;
};
RunsMoments runs_moments(double n, double m);
double runs_z(double runs, const RunsMoments& moments);

}  // namespace vesk
