#pragma once

#include <optional>
#include <vector>

namespace vesk {

// Adjusted p-values across the groups of one run, so that dozens of groups do not turn chance
// into findings. Groups without a p-value stay without one and do not count.

// Holm's step-down adjustment (controls the family-wise error rate).
std::vector<std::optional<double>> holm_adjust(const std::vector<std::optional<double>>& p);

// Benjamini and Hochberg's step-up adjustment (controls the false discovery rate).
std::vector<std::optional<double>> bh_adjust(const std::vector<std::optional<double>>& p);

}  // namespace vesk
