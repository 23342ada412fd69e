#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/result_stats.h"

namespace vesk {

// The upper-tail p-value of a chi-square statistic with df degrees of freedom, also below the
// double range; none for df 0.
std::optional<Probability> chi_square_p_value(double statistic, std::int64_t df);

// How far the asymptotic chi-square approximation can be trusted for a 2 x k table: its
// expected counts under homogeneity.
struct ExpectedCounts {
    std::int64_t cells = 0;       // 2 k
    std::int64_t below_five = 0;  // cells with an expected count below 5
    double smallest = 0;          // the smallest expected count
    bool flagged = false;         // any below 1, or more than a fifth below 5
    std::string reason;           // why it is flagged, for the user
};

// central[k] and state[k] are the raw counts of class k + 1 (not the zero-replaced ones).
// A class empty in both samples has expected counts 0: leave it out first.
ExpectedCounts expected_counts(const std::vector<double>& central,
                               const std::vector<double>& state);

// The statistics of one group of the chi-square test from the result file's statistic chival
// with its df, and the raw class cells: the p-value of the raw table without the classes empty
// in the group, a Monte Carlo one where its expected counts are small (its draws seeded from
// the group's values), none where a sample or all but one class are empty.
ChiGroupStats chi_group_stats(std::vector<std::string> groups, double chival, std::int64_t df,
                              const std::vector<double>& central, const std::vector<double>& state);

}  // namespace vesk
