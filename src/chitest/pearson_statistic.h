#pragma once

#include <vector>

namespace vesk {

// One cell's share of Pearson's statistic: (observed - expected)^2 / expected.
inline double pearson_term(double observed, double expected) {
    const double d = observed - expected;
    return d * d / expected;
}

// Pearson's chi-square statistic of homogeneity of two samples over the classes, from the
// central and the state count of each class (same length). Classes empty in both samples add
// nothing: the statistic whose chi-square distribution has non-empty classes - 1 degrees of
// freedom.
double pearson_statistic(const std::vector<double>& central, const std::vector<double>& other);

// The result file's chisqval: Pearson's statistic with every empty cell counted as 1 (which adds
// 1 to its class and sample totals), so no expected count is 0.
double chisqval(std::vector<double> central, std::vector<double> other);

}  // namespace vesk
