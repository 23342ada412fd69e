#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/probability.h"

namespace vesk {

inline constexpr double no_value = std::numeric_limits<double>::quiet_NaN();

// What the statistician needs beside a group's z value to judge it. Records with equal
// parameter values (a block) have no order of their own, so the primary statistic is T, the
// expected number of runs over random orders within every block; without such ties T is the
// number of runs.
struct RunGroupStats {
    std::vector<std::string> groups;  // the group's values as text, in group order
    std::int64_t n = 0;               // central records
    std::int64_t m = 0;               // state records
    // The runs in the order the result file counts them (ties ordered by sample), their z and
    // p-values: what the data say as sorted.
    std::int64_t runs = 0;
    double z = no_value;
    std::optional<Probability> p_normal;  // lower tail of z: too few runs
    std::optional<Probability> p_exact;   // P(R <= runs), exact, for n >= 1 and m >= 1
    // The blocks of equal parameter values, those holding records of both kinds, and the fewest
    // and most runs any order within them could give.
    std::int64_t blocks = 0;
    std::int64_t tied_values = 0;
    std::int64_t fewest_runs = 0;
    std::int64_t most_runs = 0;
    // T, its expectation and standard deviation when the sample labels are permuted over the
    // group's records (the expectation is the result file's erun), and its z.
    double t = no_value;
    double expected_runs = no_value;
    double sd_t = no_value;
    double z_t = no_value;
    // The effect size: the share of the expected runs that is missing, (E - T) / E.
    double missing_runs_share = no_value;
    // The primary p-value, P(T <= t) under permutation of the sample labels: it decides the
    // shading and enters the adjustment.
    std::optional<Probability> p;
    // "exact", "exact over ties", "Monte Carlo over ties (10000)" or "normal over ties"; empty
    // without p.
    std::string p_source;
    std::optional<double> p_standard_error;  // of a Monte Carlo p
    std::string missing;  // why there is no p ("no state records"); empty when there is one
    // Across the groups of the run, of the primary p-value.
    std::optional<Probability> p_holm;
    std::optional<Probability> p_bh;

    std::optional<Probability> p_primary() const { return p; }
    // Records sharing a parameter value: their order is not given by the data.
    bool has_ties() const { return blocks < n + m; }
};

// One class of a group of the chi-square test: where the two samples differ, and how much.
struct ChiClassCell {
    std::int64_t central = 0;  // records of the class
    std::int64_t state = 0;
    double central_share = no_value;  // of the group's central records in the classes (n)
    double state_share = no_value;    // of its state records (m)
    // Under homogeneity: n, and m, times the class's share of the group's records.
    double expected_central = no_value;
    double expected_state = no_value;
    // Haberman's adjusted standardized residual of the central cell, about standard normal under
    // homogeneity: above 0 where the class holds more of the central sample than of the state
    // sample. The state cell's is its negative. None without records of the class or a sample.
    double residual = no_value;
    bool marked = false;  // |residual| >= 2: the class drives the difference
};

// The same for a group of the chi-square test: central against state counts over the classes.
struct ChiGroupStats {
    std::vector<std::string> groups;
    std::int64_t n = 0;  // central records in the classes
    std::int64_t m = 0;  // state records in the classes
    // The result file's chisqval: empty cells counted as 1, over every class, chival_df = classes
    // - 1. Kept for reference; no p-value comes from it.
    double chival = no_value;
    std::int64_t chival_df = 0;
    std::int64_t zero_cells_set_to_one = 0;  // cells that rule changed from 0 to 1
    // Pearson's statistic of the raw table without the classes empty in this group, and its
    // degrees of freedom: non-empty classes - 1.
    double statistic = no_value;
    std::int64_t df = 0;
    std::optional<Probability> p_chi_square;   // upper tail of the chi-square distribution
    std::optional<Probability> p_monte_carlo;  // over random tables with the group's margins
    std::optional<double> p_monte_carlo_standard_error;
    // The primary p-value: p_monte_carlo where the expected counts are small, else p_chi_square.
    std::optional<Probability> p;
    std::string p_source;  // "chi-square" or "Monte Carlo (10000 tables)"; empty without p
    std::string missing;   // why there is no p; empty when there is one
    // Expected counts of the table the statistic is computed on.
    std::int64_t cells = 0;
    std::int64_t below_five = 0;
    double smallest_expected = no_value;
    std::string small_expected;  // why the asymptotic p is doubtful; empty when it is not
    std::optional<Probability> p_holm;
    std::optional<Probability> p_bh;
    // Cramér's V of the statistic's table, from 0 (the same shares) to 1: how much the samples
    // differ, whatever the group's size. None where there is no p-value of a comparison.
    double cramers_v = no_value;
    std::vector<ChiClassCell> classes;  // every class of the run, in class order

    std::optional<Probability> p_primary() const { return p; }
};

}  // namespace vesk
