// Not a timing: how often the results panel would shade a group when the samples do not differ,
// and how often it finds a real difference, on simulated coded data. 400 groups of 60 central
// and 60 state records whose parameter is a normal variable cut into 5 and then 50 values (equal
// widths over -2.5 ... 2.5 standard deviations, the ends open); the share of groups whose
// Benjamini-Hochberg-adjusted p-value is below 0.05, for the runs test (its primary p-value, and
// for contrast the p-value of the runs as sorted) and the chi-square test over the values. With a
// difference, the state sample of every other group is shifted by 0.6 standard deviations.
//
//   bench_significance_rates [DATA_FOLDER]   (the folder is not used)

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "chitest/chi_statistics.h"
#include "chitest/pearson_statistic.h"
#include "core/multiple_testing.h"
#include "runtest/run_stats.h"

namespace {

using vesk::ChiGroupStats;
using vesk::RunGroupStats;

constexpr int groups = 400;
constexpr int per_sample = 60;
constexpr double shift = 0.6;
constexpr double level = 0.05;

struct Group {
    std::vector<std::int64_t> central;  // records per value
    std::vector<std::int64_t> state;
    bool shifted = false;
};

// Runs as the data are sorted: by value, central (sample 1) before state (sample 2) in a tie.
// Each group has its own values, so its Monte Carlo draws are its own.
RunGroupStats runs_of(const Group& g, int index) {
    vesk::TieRange ties;
    vesk::TieBlocks blocks;
    std::int64_t runs = 0;
    int last = -1;
    for (std::size_t v = 0; v < g.central.size(); ++v) {
        ties.add_block(g.central[v], g.state[v]);
        blocks.add_block(g.central[v], g.state[v]);
        for (const auto& [kind, count] : {std::pair{0, g.central[v]}, std::pair{1, g.state[v]}}) {
            if (count > 0 && kind != last) {
                ++runs;
                last = kind;
            }
        }
    }
    return vesk::make_run_stats({std::to_string(index)}, runs, ties, blocks);
}

ChiGroupStats chi_of(const Group& g, int index) {
    const std::vector<double> central(g.central.begin(), g.central.end());
    const std::vector<double> state(g.state.begin(), g.state.end());
    return vesk::chi_group_stats({std::to_string(index)}, vesk::chisqval(central, state),
                                 static_cast<std::int64_t>(central.size()) - 1, central, state);
}

template <typename Stats>
void count_significant(std::vector<Stats>& stats, const std::vector<Group>& simulated,
                       const char* what) {
    vesk::adjust_across_groups(stats);
    int null_found = 0;
    int null_groups = 0;
    int shifted_found = 0;
    int shifted_groups = 0;
    for (std::size_t i = 0; i < stats.size(); ++i) {
        const bool found = stats[i].p_bh && stats[i].p_bh->value() < level;
        (simulated[i].shifted ? shifted_found : null_found) += found ? 1 : 0;
        (simulated[i].shifted ? shifted_groups : null_groups) += 1;
    }
    std::printf("  %-36s alike: %3d of %3d (%5.1f%%)", what, null_found, null_groups,
                100.0 * null_found / null_groups);
    if (shifted_groups > 0) {
        std::printf("   shifted: %3d of %3d (%5.1f%%)", shifted_found, shifted_groups,
                    100.0 * shifted_found / shifted_groups);
    }
    std::printf("\n");
}

void measure(int values, bool with_difference, std::mt19937_64& random) {
    std::normal_distribution<double> normal;
    const auto value_of = [values](double x) {
        const double width = 5.0 / values;
        return std::clamp(static_cast<int>(std::floor((x + 2.5) / width)), 0, values - 1);
    };
    std::vector<Group> simulated(groups);
    for (int i = 0; i < groups; ++i) {
        Group& g = simulated[static_cast<std::size_t>(i)];
        g.central.assign(static_cast<std::size_t>(values), 0);
        g.state.assign(static_cast<std::size_t>(values), 0);
        g.shifted = with_difference && i % 2 == 1;
        for (int r = 0; r < per_sample; ++r) {
            ++g.central[static_cast<std::size_t>(value_of(normal(random)))];
            ++g.state[static_cast<std::size_t>(
                value_of(normal(random) + (g.shifted ? shift : 0.0)))];
        }
    }
    std::printf("%s, %d groups of %d + %d records over %d values, BH at %g:\n",
                with_difference ? "State sample shifted by 0.6 sd in every other group"
                                : "Both samples drawn alike",
                groups, per_sample, per_sample, values, level);
    std::vector<RunGroupStats> as_sorted;
    std::vector<RunGroupStats> primary;
    std::vector<ChiGroupStats> chi;
    for (int i = 0; i < groups; ++i) {
        const Group& g = simulated[static_cast<std::size_t>(i)];
        primary.push_back(runs_of(g, i));
        as_sorted.push_back(primary.back());
        as_sorted.back().p = as_sorted.back().p_exact;
        chi.push_back(chi_of(g, i));
    }
    count_significant(as_sorted, simulated, "runs test, p of the runs as sorted:");
    count_significant(primary, simulated, "runs test, primary p (T over ties):");
    count_significant(chi, simulated, "chi-square test over the values:");
}

}  // namespace

int main() {
    std::mt19937_64 random(13);
    for (const int values : {5, 50}) {
        measure(values, false, random);
        measure(values, true, random);
    }
    return 0;
}
