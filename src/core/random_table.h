#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace vesk {

// Random tables of counts with given row and column totals, each drawn with its probability
// when rows and columns are independent (the multiple hypergeometric distribution), by
// Patefield's algorithm: each cell from its hypergeometric distribution given the cells before
// it. The same totals and seed give the same tables.
class RandomTables {
  public:
    RandomTables(std::vector<std::int64_t> row_totals, std::vector<std::int64_t> column_totals,
                 std::uint64_t seed);

    // The next table, row by row (rows x columns cells).
    const std::vector<std::int64_t>& next();

  private:
    // Successes among draws taken without replacement from total items, successes of them.
    std::int64_t hypergeometric(std::int64_t total, std::int64_t successes, std::int64_t draws);
    double log_choose(std::int64_t a, std::int64_t b) const;
    double uniform();

    std::vector<std::int64_t> rows_;
    std::vector<std::int64_t> columns_;
    std::int64_t total_ = 0;
    std::vector<double> log_factorial_;
    std::mt19937_64 engine_;
    std::vector<std::int64_t> table_;
    std::vector<std::int64_t> left_;
};

}  // namespace vesk
