#include "chitest/class_cells.h"

#include <algorithm>
#include <cmath>

namespace vesk {

std::vector<ChiClassCell> class_cells(const std::vector<double>& central,
                                      const std::vector<double>& state) {
    const std::size_t classes = std::min(central.size(), state.size());
    double n = 0;
    double m = 0;
    for (std::size_t k = 0; k < classes; ++k) {
        n += central[k];
        m += state[k];
    }
    const double records = n + m;
    std::vector<ChiClassCell> cells(classes);
    for (std::size_t k = 0; k < classes; ++k) {
        ChiClassCell& cell = cells[k];
        cell.central = static_cast<std::int64_t>(central[k]);
        cell.state = static_cast<std::int64_t>(state[k]);
        if (n > 0) {
            cell.central_share = central[k] / n;
        }
        if (m > 0) {
            cell.state_share = state[k] / m;
        }
        if (records <= 0) {
            continue;
        }
        const double both = central[k] + state[k];
        cell.expected_central = n * both / records;
        cell.expected_state = m * both / records;
        // The variance of O - E under homogeneity with both margins fixed; 0 where a sample or
        // the class is empty, and the residual has no meaning.
        const double variance = cell.expected_central * (1 - n / records) * (1 - both / records);
        if (variance > 0) {
            cell.residual = (central[k] - cell.expected_central) / std::sqrt(variance);
            cell.marked = std::abs(cell.residual) >= marked_residual;
        }
    }
    return cells;
}

double cramers_v(double statistic, std::int64_t records, std::int64_t classes) {
    if (classes < 2 || records <= 0 || !std::isfinite(statistic) || statistic < 0) {
        return no_value;
    }
    // The smaller side of a table with two rows less one is 1.
    return std::sqrt(statistic / static_cast<double>(records));
}

std::string effect_size_words(double v) {
    if (!std::isfinite(v)) {
        return {};
    }
    return v < 0.1 ? "negligible" : v < 0.3 ? "small" : v < 0.5 ? "medium" : "large";
}

}  // namespace vesk
