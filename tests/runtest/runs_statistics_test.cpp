#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <vector>

#include "core/verdict.h"
#include "runtest/run_stats.h"
#include "runtest/runs_distribution.h"
#include "runtest/tie_range.h"

namespace vesk {
namespace {

int runs_in(const std::vector<int>& kinds) {
    int runs = kinds.empty() ? 0 : 1;
    for (std::size_t i = 1; i < kinds.size(); ++i) {
        runs += kinds[i] != kinds[i - 1] ? 1 : 0;
    }
    return runs;
}

TEST(RunsDistribution, EqualsEnumerationOfEveryOrder) {
    for (int n = 1; n <= 6; ++n) {
        for (int m = 1; m <= 6; ++m) {
            const int size = n + m;
            std::map<int, double> counts;
            double orders = 0;
            for (unsigned mask = 0; mask < (1u << size); ++mask) {
                if (__builtin_popcount(mask) != n) {
                    continue;
                }
                // One run, and one more at each place where neighbours differ.
                ++counts[1 + __builtin_popcount((mask ^ (mask >> 1)) & ((1u << (size - 1)) - 1))];
                orders += 1;
            }
            double cumulative = 0;
            for (int r = 1; r <= size; ++r) {
                const double exact = counts[r] / orders;
                cumulative += exact;
                EXPECT_NEAR(runs_probability(n, m, r), exact, 1e-12) << n << " " << m << " " << r;
                EXPECT_NEAR(runs_cdf(n, m, r), cumulative, 1e-12) << n << " " << m << " " << r;
            }
        }
    }
}

TEST(RunsDistribution, LargeGroupsMatchAPlainSumAndClosedForms) {
    // Beyond 1,000 records the p-value stays exact: two central records among 998 state ones
    // form 2 runs in 2 of the C(1000, 2) orders (both at one end).
    EXPECT_NEAR(runs_cdf(2, 998, 2), 2.0 / 499500.0, 1e-12 * 2.0 / 499500.0);
    EXPECT_NEAR(runs_cdf(2, 999, 2), 2.0 / 500500.0, 1e-12 * 2.0 / 500500.0);
    // A plain sum of P(R = j) from log-gamma terms, as far as 1,200 runs (past the points where
    // the sum's terms are recomputed in full).
    const auto log_choose = [](double a, double b) {
        return std::lgamma(a + 1) - std::lgamma(b + 1) - std::lgamma(a - b + 1);
    };
    const double n = 3000;
    const double m = 2000;
    for (const int r : {900, 1200, 2400}) {
        double sum = 0;
        for (int j = 2; j <= r; ++j) {
            const double k = j / 2;
            const double log_p =
                j % 2 == 0 ? std::log(2.0) + log_choose(n - 1, k - 1) + log_choose(m - 1, k - 1)
                           : std::log(std::exp(log_choose(n - 1, k) + log_choose(m - 1, k - 1)) +
                                      std::exp(log_choose(n - 1, k - 1) + log_choose(m - 1, k)));
            sum += std::exp(log_p - log_choose(n + m, n));
        }
        EXPECT_NEAR(runs_cdf(3000, 2000, r), sum, 1e-9 * sum) << r;
    }
    // A million records, at the expected runs: about one half, as the normal approximation says.
    EXPECT_NEAR(runs_cdf(500000, 500000, 500001), 0.5, 1e-3);
    EXPECT_EQ(runs_cdf(500000, 500000, 1000000), 1.0);
}

TEST(NormalLowerTail, MatchesPublishedValues) {
    // R: pnorm(z)
    const std::pair<double, double> cases[] = {
        {-0.436435780471985, 3.3126029177002864e-01},
        {-1.96, 2.4997895148220428e-02},
        {-3.5, 2.3262907903552494e-04},
        {0, 0.5},
        {1.2345, 8.9149167663732987e-01},
        {-8.25, 7.9197263146424782e-17},
    };
    for (const auto& [z, p] : cases) {
        EXPECT_NEAR(normal_lower_tail(z), p, 1e-12 * std::max(p, 1e-300) + 1e-300) << z;
    }
}

// Every order within the blocks, enumerated.
std::pair<int, int> brute_force_range(const std::vector<std::pair<int, int>>& blocks) {
    int fewest = 1 << 30;
    int most = 0;
    std::vector<std::vector<int>> choices;
    for (const auto& [central, state] : blocks) {
        std::vector<int> block(static_cast<std::size_t>(central), 0);
        block.insert(block.end(), static_cast<std::size_t>(state), 1);
        choices.push_back(block);
    }
    std::vector<int> sequence;
    auto walk = [&](auto&& self, std::size_t index) -> void {
        if (index == choices.size()) {
            fewest = std::min(fewest, runs_in(sequence));
            most = std::max(most, runs_in(sequence));
            return;
        }
        std::vector<int> block = choices[index];
        do {
            const std::size_t mark = sequence.size();
            sequence.insert(sequence.end(), block.begin(), block.end());
            self(self, index + 1);
            sequence.resize(mark);
        } while (std::next_permutation(block.begin(), block.end()));
    };
    walk(walk, 0);
    return {fewest, most};
}

TEST(TieRange, AgreesWithEnumerationOnRandomBlocks) {
    std::mt19937 random(20261206);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<std::pair<int, int>> blocks(1 + random() % 4);
        TieRange range;
        for (auto& block : blocks) {
            block = {static_cast<int>(random() % 4), static_cast<int>(random() % 3)};
            if (block.first + block.second == 0) {
                block.first = 1;
            }
            range.add_block(block.first, block.second);
        }
        const auto [fewest, most] = brute_force_range(blocks);
        EXPECT_EQ(range.fewest_runs(), fewest) << "trial " << trial;
        EXPECT_EQ(range.most_runs(), most) << "trial " << trial;
    }
}

TEST(TieRule, OnlyTiesAcrossKindsMoveThePrimaryPValueToTheMostRuns) {
    // C(22, 11) = 705432 orders of 11 and 11 records: 2 of them have 2 runs, 20 have 3, 200 have 4.
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> blocks;  // (central, state) per parameter value
        int runs;                                 // as the sorted data count them
        double p;                                 // the primary p-value
        const char* source;
        const char* flag;  // at the level 0.05
    };
    const char* exact = "exact";
    const char* most = "exact at the most runs over ties";
    // Within one kind: the order is fixed, 4 runs; 19 of the 35 orders of 3 and 4 records have at
    // most 4. A tie of both kinds between central records: 4 runs either way; 33 of 126 orders of 5
    // and 4. All twenty at one value: sorted 2 runs, yet any order could be drawn, at most 20, p 1.
    // Ten central, a tie of one each, ten state: 2 or 4 runs, significant either way.
    const Case cases[] = {
        {"ties within one kind", {{2, 0}, {0, 3}, {1, 0}, {0, 1}}, 4, 19.0 / 35, exact, ""},
        {"no change", {{2, 0}, {1, 1}, {2, 0}, {0, 3}}, 4, 33.0 / 126, exact, ""},
        {"one tie", {{10, 10}}, 2, 1.0, most, "ties decide"},
        {"same verdict", {{10, 0}, {1, 1}, {0, 10}}, 2, 222.0 / 705432, most, ""},
    };
    for (const Case& c : cases) {
        TieRange ties;
        std::int64_t n = 0;
        std::int64_t m = 0;
        for (const auto& [central, state] : c.blocks) {
            ties.add_block(central, state);
            n += central;
            m += state;
        }
        const RunGroupStats stats = make_run_stats({"g"}, n, m, c.runs, ties);
        ASSERT_TRUE(stats.p.has_value()) << c.what;
        EXPECT_NEAR(*stats.p, c.p, 1e-12 * c.p) << c.what;
        EXPECT_EQ(stats.p_source, c.source) << c.what;
        EXPECT_EQ(flag_names(judge(stats, Choices{}).flags), c.flag) << c.what;
    }
}

}  // namespace
}  // namespace vesk
