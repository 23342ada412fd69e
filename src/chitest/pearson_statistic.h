#pragma once

#include <vector>

namespace vesk {

// Pearson's chi-square statistic of homogeneity of two samples over the classes, from the
// central and the state frequency of each class (same length). An empty cell counts as 1 (and
// adds 1 to its class and sample totals), so no expected count is 0.
double chi_square(std::vector<double> central, std::vector<double> other);

}  // namespace vesk
