#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/result_stats.h"

namespace vesk {

// Where and how much the two samples of a group differ: the cells behind its statistic.

// A class whose adjusted residual reaches this size, either way, is marked as driving the
// difference: beyond it lies about 1 in 20 of a standard normal.
inline constexpr double marked_residual = 2;

// The cells of every class, central[k] and state[k] being the raw counts of class k + 1.
std::vector<ChiClassCell> class_cells(const std::vector<double>& central,
                                      const std::vector<double>& state);

// Cramér's V of Pearson's statistic of a group's table of two samples over its non-empty
// classes: sqrt(statistic / (records * min(2 - 1, classes - 1))). None where there is nothing to
// compare (fewer than two classes, no records).
double cramers_v(double statistic, std::int64_t records, std::int64_t classes);

// How large a V is, by Cohen's steps for a table with two rows: "negligible" below 0.1, "small",
// "medium" from 0.3, "large" from 0.5; empty for none.
std::string effect_size_words(double v);

}  // namespace vesk
