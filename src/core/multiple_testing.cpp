#include "core/multiple_testing.h"

#include <algorithm>
#include <numeric>

namespace vesk {

namespace {

// Positions of the groups that have a p-value, in ascending order of it (stable for ties).
std::vector<std::size_t> ranked(const std::vector<std::optional<double>>& p) {
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

std::vector<std::optional<double>> holm_adjust(const std::vector<std::optional<double>>& p) {
    std::vector<std::optional<double>> adjusted(p.size());
    const std::vector<std::size_t> order = ranked(p);
    const double count = static_cast<double>(order.size());
    double running_max = 0;
    for (std::size_t rank = 0; rank < order.size(); ++rank) {
        const double value = (count - static_cast<double>(rank)) * *p[order[rank]];
        running_max = std::max(running_max, value);
        adjusted[order[rank]] = std::min(1.0, running_max);
    }
    return adjusted;
}

std::vector<std::optional<double>> bh_adjust(const std::vector<std::optional<double>>& p) {
    std::vector<std::optional<double>> adjusted(p.size());
    const std::vector<std::size_t> order = ranked(p);
    const double count = static_cast<double>(order.size());
    double running_min = 1;
    for (std::size_t rank = order.size(); rank-- > 0;) {
        const double value = count / static_cast<double>(rank + 1) * *p[order[rank]];
        running_min = std::min(running_min, value);
        adjusted[order[rank]] = running_min;
    }
    return adjusted;
}

}  // namespace vesk
