#pragma once

#include <cstddef>

namespace vesk {

// What the results panel's chart and the report's share, so the two draw a run alike.

// The band of z the runs test's chart shades: the two-sided 5% of the normal distribution.
inline constexpr double z_band = 1.96;

// Up to this many groups stand by name under the chart, upright up to upright_label_limit;
// beyond it the points are numbered as the rows of the table.
inline constexpr std::size_t named_group_limit = 24;
inline constexpr std::size_t upright_label_limit = 8;

// Beyond this many groups the markers are drawn smaller.
inline constexpr std::size_t crowded_groups = 60;

// A round step (1, 2 or 5 times a power of ten) that puts about four ticks over 0 ... reach.
double tick_step(double reach);

}  // namespace vesk
