#pragma once

#include <cstdint>
#include <optional>

namespace vesk {

// The exact distribution of the number of runs R in a random order of n records of one kind and
// m of the other, every order equally likely. Computed in log space, so it stays finite for
// large groups.
double runs_probability(std::int64_t n, std::int64_t m, std::int64_t r);
// P(R <= r).
double runs_cdf(std::int64_t n, std::int64_t m, std::int64_t r);

// Groups up to this size get the exact p-value; larger ones the normal approximation.
constexpr std::int64_t exact_runs_limit = 1000;

// The lower-tail normal p-value of z: the chance of a z this small or smaller.
double normal_lower_tail(double z);

// The one-sided p-value for too few runs: exact for n + m <= exact_runs_limit, else from z.
// None when either kind has fewer than 2 records, where the test says nothing.
std::optional<double> runs_p_value(std::int64_t n, std::int64_t m, std::int64_t r, double z);

// The expected number of runs, its variance and z, as the result table holds them.
struct RunsMoments {
    double erun;
    double vrun;
};
RunsMoments runs_moments(double n, double m);
double runs_z(double runs, const RunsMoments& moments);

}  // namespace vesk
