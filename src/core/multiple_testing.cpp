#include "core/multiple_testing.h"

#include <algorithm>
#include <numeric>

namespace vesk {

namespace {

// Positions of the groups that have a p-value, in ascending order of it (stable for ties).
std::vector<std::size_t> ranked(const std::vector<std::optional<Probability>>& p) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i]) {
            order.push_back(i);
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return *p[a] < *p[b]; });
    return order;
}

}  // namespace

std::vector<std::optional<Probability>> holm_adjust(
    const std::vector<std::optional<Probability>>& p) {
    std::vector<std::optional<Probability>> adjusted(p.size());
    const std::vector<std::size_t> order = ranked(p);
    const double count = static_cast<double>(order.size());
    Probability running_max = Probability::of(0);
    for (std::size_t rank = 0; rank < order.size(); ++rank) {
        running_max =
            std::max(running_max, p[order[rank]]->scaled(count - static_cast<double>(rank)));
        adjusted[order[rank]] = running_max;
    }
    return adjusted;
}

std::vector<std::optional<Probability>> bh_adjust(
    const std::vector<std::optional<Probability>>& p) {
    std::vector<std::optional<Probability>> adjusted(p.size());
    const std::vector<std::size_t> order = ranked(p);
    const double count = static_cast<double>(order.size());
    Probability running_min = Probability::of(1);
    for (std::size_t rank = order.size(); rank-- > 0;) {
        running_min =
            std::min(running_min, p[order[rank]]->scaled(count / static_cast<double>(rank + 1)));
        adjusted[order[rank]] = running_min;
    }
    return adjusted;
}

}  // namespace vesk
