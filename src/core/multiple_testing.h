#pragma once

#include <optional>
#include <vector>

#include "core/probability.h"

namespace vesk {

// Adjusted p-values across the groups of one run, so that dozens of groups do not turn chance
// into findings. Groups without a p-value stay without one and do not count; a p-value below
// the double range stays positive.

// Holm's step-down adjustment (controls the family-wise error rate).
std::vector<std::optional<Probability>> holm_adjust(
    const std::vector<std::optional<Probability>>& p);

// Benjamini and Hochberg's step-up adjustment (controls the false discovery rate).
std::vector<std::optional<Probability>> bh_adjust(const std::vector<std::optional<Probability>>& p);

}  // namespace vesk

namespace vesk {

// Fills p_holm and p_bh of every group from its p_primary().
template <typename Stats>
void adjust_across_groups(std::vector<Stats>& groups) {
    std::vector<std::optional<Probability>> p;
    for (const Stats& group : groups) {
        p.push_back(group.p_primary());
    }
    const auto holm = holm_adjust(p);
    const auto bh = bh_adjust(p);
    for (std::size_t i = 0; i < groups.size(); ++i) {
        groups[i].p_holm = holm[i];
        groups[i].p_bh = bh[i];
    }
}

}  // namespace vesk
