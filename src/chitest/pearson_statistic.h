#pragma once

#include <vector>

namespace vesk {

// Pearson's chi-square statistic of homogeneity of two samples over the classes, from the
// central and the state frequency of each class (same length). An empty cell counts as 1 (and
// adds 1 to its class and sample totals), so no expected count is 0. This is the result file's
// chisqval.
double chi_square(std::vector<double> central, std::vector<double> other);

// Pearson's statistic of the table as it is, leaving out the classes empty in both samples:
// the one whose chi-square distribution has non-empty classes - 1 degrees of freedom.
double raw_chi_square(const std::vector<double>& central, const std::vector<double>& other);

}  // namespace vesk
