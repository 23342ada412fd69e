#pragma once

#include <cstdint>
#include <vector>

namespace vesk {

inline constexpr int monte_carlo_tables = 10000;

// The share of random tables with the margins of table (rows x columns counts, no row or column
// empty) whose Pearson statistic is at least the table's own, counting the table itself:
// (1 + tables at least as extreme) / (tables + 1). Valid however small the expected counts. The
// same table and seed give the same p-value.
double monte_carlo_p(const std::vector<std::vector<std::int64_t>>& table, int tables,
                     std::uint64_t seed);

}  // namespace vesk
