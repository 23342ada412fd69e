#include "chitest/chi_statistics.h"

#include <boost/math/distributions/chi_squared.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "chitest/class_cells.h"
#include "chitest/monte_carlo_p.h"
#include "chitest/pearson_statistic.h"
#include "core/group_seed.h"

namespace vesk {

namespace {

// log Q(a, x), the regularized upper incomplete gamma function, by its continued fraction
// (modified Lentz), which converges quickly for x > a + 1: where Q falls below the double range.
double log_upper_gamma_tail(double a, double x) {
    constexpr double tiny = 1e-300;
    double b = x + 1 - a;
    double c = 1 / tiny;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i < 10000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        d = std::abs(d) < tiny ? tiny : d;
        c = b + an / c;
        c = std::abs(c) < tiny ? tiny : c;
        d = 1 / d;
        const double step = d * c;
        h *= step;
        if (std::abs(step - 1) < 1e-15) {
            break;
        }
    }
    return -x + a * std::log(x) - std::lgamma(a) + std::log(h);
}

}  // namespace

std::optional<Probability> chi_square_p_value(double statistic, std::int64_t df) {
    if (df <= 0 || !std::isfinite(statistic) || statistic < 0) {
        return std::nullopt;
    }
    const boost::math::chi_squared_distribution<double> distribution(static_cast<double>(df));
    const double p = boost::math::cdf(boost::math::complement(distribution, statistic));
    if (p >= 1e-300) {
        return Probability::of(p);
    }
    return Probability::from_log(log_upper_gamma_tail(static_cast<double>(df) / 2, statistic / 2));
}

ExpectedCounts expected_counts(const std::vector<double>& central,
                               const std::vector<double>& state) {
    ExpectedCounts result;
    const std::size_t classes = std::min(central.size(), state.size());
    double central_total = 0;
    double state_total = 0;
    for (std::size_t k = 0; k < classes; ++k) {
        central_total += central[k];
        state_total += state[k];
    }
    const double total = central_total + state_total;
    result.cells = static_cast<std::int64_t>(2 * classes);
    if (classes == 0 || total <= 0) {
        result.flagged = true;
        result.reason = "no records";
        return result;
    }
    result.smallest = std::numeric_limits<double>::infinity();
    for (std::size_t k = 0; k < classes; ++k) {
        const double both = central[k] + state[k];
        for (const double expected : {central_total * both / total, state_total * both / total}) {
            result.smallest = std::min(result.smallest, expected);
            if (expected < 5) {
                ++result.below_five;
            }
        }
    }
    const bool below_one = result.smallest < 1;
    const bool many_below_five = 5 * result.below_five > result.cells;
    result.flagged = below_one || many_below_five;
    char text[160];
    if (below_one) {
        std::snprintf(text, sizeof text, "an expected count is below 1 (smallest %.3g)",
                      result.smallest);
        result.reason = text;
    }
    if (many_below_five) {
        std::snprintf(text, sizeof text, "%lld of %lld expected counts are below 5",
                      static_cast<long long>(result.below_five),
                      static_cast<long long>(result.cells));
        result.reason += (result.reason.empty() ? "" : "; ") + std::string(text);
    }
    return result;
}

ChiGroupStats chi_group_stats(std::vector<std::string> groups, double chival, std::int64_t df,
                              const std::vector<double>& central,
                              const std::vector<double>& state) {
    ChiGroupStats stats;
    stats.groups = std::move(groups);
    stats.chival = chival;
    stats.chival_df = df;
    stats.classes = class_cells(central, state);
    // The classes that hold records of this group; the others have no expected count to test.
    std::vector<double> held_central;
    std::vector<double> held_state;
    const std::size_t classes = std::min(central.size(), state.size());
    for (std::size_t k = 0; k < classes; ++k) {
        stats.zero_cells_set_to_one += (central[k] == 0 ? 1 : 0) + (state[k] == 0 ? 1 : 0);
        if (central[k] + state[k] > 0) {
            held_central.push_back(central[k]);
            held_state.push_back(state[k]);
        }
    }
    for (std::size_t k = 0; k < held_central.size(); ++k) {
        stats.n += static_cast<std::int64_t>(held_central[k]);
        stats.m += static_cast<std::int64_t>(held_state[k]);
    }
    stats.df = std::max<std::int64_t>(0, static_cast<std::int64_t>(held_central.size()) - 1);
    if (stats.n == 0 || stats.m == 0) {
        stats.missing = stats.n + stats.m == 0 ? "no records in the classes"
                        : stats.n == 0         ? "no central records in the classes"
                                               : "no state records in the classes";
        return stats;
    }
    stats.statistic = pearson_statistic(held_central, held_state);
    const ExpectedCounts expected = expected_counts(held_central, held_state);
    stats.cells = expected.cells;
    stats.below_five = expected.below_five;
    stats.smallest_expected = expected.smallest;
    if (stats.df == 0) {
        stats.missing = "every record is in one class: nothing to compare";
        return stats;
    }
    stats.p_chi_square = chi_square_p_value(stats.statistic, stats.df);
    stats.cramers_v = cramers_v(stats.statistic, stats.n + stats.m, stats.df + 1);
    if (expected.flagged) {
        stats.small_expected = expected.reason;
        std::vector<std::vector<std::int64_t>> table(2);
        for (std::size_t k = 0; k < held_central.size(); ++k) {
            table[0].push_back(static_cast<std::int64_t>(held_central[k]));
            table[1].push_back(static_cast<std::int64_t>(held_state[k]));
        }
        const double p = monte_carlo_p(table, monte_carlo_tables,
                                       group_seed(stats.groups, DrawStream::chi_square));
        stats.p_monte_carlo = Probability::of(p);
        stats.p_monte_carlo_standard_error = std::sqrt(p * (1 - p) / monte_carlo_tables);
        stats.p = stats.p_monte_carlo;
        stats.p_source = "Monte Carlo (" + std::to_string(monte_carlo_tables) + " tables)";
    } else {
        stats.p = stats.p_chi_square;
        stats.p_source = "chi-square";
    }
    return stats;
}

}  // namespace vesk
