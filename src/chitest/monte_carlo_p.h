#pragma once

#include <cstdint>
#include <vector>

namespace vesk {

inline constexpr int monte_carlo_tables = 10000;
// One seed for every group: the same table always gets the same p-value, whatever groups come
// before it.
inline constexpr std::uint64_t monte_carlo_seed = 0x5eed0f7ab1e5ULL;

// The share of random tables with the margins of table (rows x columns counts, no row or column
// empty) whose Pearson statistic is at least the table's own, counting the table itself:
// (1 + tables at least as extreme) / (tables + 1). Valid however small the expected counts.
double monte_carlo_p(const std::vector<std::vector<std::int64_t>>& table,
                     int tables = monte_carlo_tables, std::uint64_t seed = monte_carlo_seed);

}  // namespace vesk
