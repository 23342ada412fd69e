#include "chitest/monte_carlo_p.h"

#include <limits>

#include "chitest/pearson_statistic.h"
#include "core/random_table.h"

namespace vesk {

double monte_carlo_p(const std::vector<std::vector<std::int64_t>>& table, int tables,
                     std::uint64_t seed) {
    const std::size_t r = table.size();
    const std::size_t c = r == 0 ? 0 : table[0].size();
    std::vector<std::int64_t> row_totals(r, 0);
    std::vector<std::int64_t> column_totals(c, 0);
    std::vector<std::int64_t> observed;
    for (std::size_t i = 0; i < r; ++i) {
        for (std::size_t j = 0; j < c; ++j) {
            row_totals[i] += table[i][j];
            column_totals[j] += table[i][j];
            observed.push_back(table[i][j]);
        }
    }
    double total = 0;
    for (std::int64_t t : row_totals) {
        total += static_cast<double>(t);
    }
    // Every random table shares the margins, so the expected counts are the same for all.
    std::vector<double> expected;
    for (std::size_t i = 0; i < r; ++i) {
        for (std::size_t j = 0; j < c; ++j) {
            expected.push_back(static_cast<double>(row_totals[i]) *
                               static_cast<double>(column_totals[j]) / total);
        }
    }
    const auto statistic = [&](const std::vector<std::int64_t>& cells) {
        double x = 0;
        for (std::size_t k = 0; k < cells.size(); ++k) {
            x += pearson_term(static_cast<double>(cells[k]), expected[k]);
        }
        return x;
    };
    // Tables whose statistic equals the observed one up to rounding count as at least as extreme.
    const double bar = statistic(observed) * (1 - 64 * std::numeric_limits<double>::epsilon());
    RandomTables random(row_totals, column_totals, seed);
    int extreme = 0;
    for (int t = 0; t < tables; ++t) {
        if (statistic(random.next()) >= bar) {
            ++extreme;
        }
    }
    return (1.0 + extreme) / (tables + 1.0);
}

}  // namespace vesk
