#include "core/random_table.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

namespace vesk {

RandomTables::RandomTables(std::vector<std::int64_t> row_totals,
                           std::vector<std::int64_t> column_totals, std::uint64_t seed)
    : rows_(std::move(row_totals)), columns_(std::move(column_totals)), engine_(seed) {
    total_ = std::accumulate(rows_.begin(), rows_.end(), std::int64_t{0});
    const bool negative =
        std::any_of(rows_.begin(), rows_.end(), [](auto t) { return t < 0; }) ||
        std::any_of(columns_.begin(), columns_.end(), [](auto t) { return t < 0; });
    if (rows_.empty() || columns_.empty() || negative ||
        total_ != std::accumulate(columns_.begin(), columns_.end(), std::int64_t{0})) {
        throw std::invalid_argument("the row and column totals of a table do not agree");
    }
    log_factorial_.resize(static_cast<std::size_t>(total_) + 1);
    for (std::size_t i = 0; i < log_factorial_.size(); ++i) {
        log_factorial_[i] = std::lgamma(static_cast<double>(i) + 1);
    }
    table_.resize(rows_.size() * columns_.size());
}

const std::vector<std::int64_t>& RandomTables::next() {
    const std::size_t c = columns_.size();
    left_ = columns_;
    std::int64_t unplaced = total_;  // records of the rows not yet filled
    for (std::size_t i = 0; i + 1 < rows_.size(); ++i) {
        std::int64_t draws = rows_[i];
        std::int64_t pool = unplaced;  // records of this row's columns still to come
        for (std::size_t j = 0; j + 1 < c; ++j) {
            const std::int64_t in_column = left_[j];
            const std::int64_t x = hypergeometric(pool, in_column, draws);
            table_[i * c + j] = x;
            left_[j] -= x;
            draws -= x;
            pool -= in_column;
        }
        table_[i * c + c - 1] = draws;
        left_[c - 1] -= draws;
        unplaced -= rows_[i];
    }
    std::copy(left_.begin(), left_.end(), table_.end() - static_cast<std::ptrdiff_t>(c));
    return table_;
}

double RandomTables::log_choose(std::int64_t a, std::int64_t b) const {
    const auto at = [this](std::int64_t k) { return log_factorial_[static_cast<std::size_t>(k)]; };
    return at(a) - at(b) - at(a - b);
}

double RandomTables::uniform() {
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

std::int64_t RandomTables::hypergeometric(std::int64_t total, std::int64_t successes,
                                          std::int64_t draws) {
    const std::int64_t failures = total - successes;
    const std::int64_t low = std::max<std::int64_t>(0, draws - failures);
    const std::int64_t high = std::min(draws, successes);
    if (low >= high) {
        return low;
    }
    // Inversion starting at the mode and stepping outward, one side then the other, with each
    // probability found from its neighbour's: a few steps for most draws.
    const std::int64_t mode = std::clamp((draws + 1) * (successes + 1) / (total + 2), low, high);
    const double at_mode = std::exp(log_choose(successes, mode) +
                                    log_choose(failures, draws - mode) - log_choose(total, draws));
    double u = uniform() - at_mode;
    if (u < 0) {
        return mode;
    }
    std::int64_t up = mode;
    std::int64_t down = mode;
    double p_up = at_mode;
    double p_down = at_mode;
    while (up < high || down > low) {
        if (up < high) {
            // P(x + 1) / P(x) = (K - x)(d - x) / ((x + 1)(N - K - d + x + 1))
            p_up *= static_cast<double>(successes - up) * static_cast<double>(draws - up) /
                    (static_cast<double>(up + 1) * static_cast<double>(failures - draws + up + 1));
            ++up;
            u -= p_up;
            if (u < 0) {
                return up;
            }
        }
        if (down > low) {
            p_down *=
                static_cast<double>(down) * static_cast<double>(failures - draws + down) /
                (static_cast<double>(successes - down + 1) * static_cast<double>(draws - down + 1));
            --down;
            u -= p_down;
            if (u < 0) {
                return down;
            }
        }
    }
    return mode;  // what rounding left of u
}

}  // namespace vesk
