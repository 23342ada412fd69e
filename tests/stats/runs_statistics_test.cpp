#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <vector>

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
                std::vector<int> kinds(static_cast<std::size_t>(size));
                for (int i = 0; i < size; ++i) {
                    kinds[static_cast<std::size_t>(i)] = (mask >> i) & 1u;
                }
                counts[runs_in(kinds)] += 1;
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

TEST(RunsDistribution, LargeGroupsStayFiniteAndSumToOne) {
    EXPECT_NEAR(runs_cdf(500, 500, 1000), 1.0, 1e-9);
    // About 12 standard deviations below the 481 runs expected.
    const double p = runs_cdf(400, 600, 300);
    EXPECT_GT(p, 0.0);
    EXPECT_LT(p, 1e-25);
}

TEST(RunsPValue, ExactForSmallGroupsNormalForLargeNoneWhenAKindIsScarce) {
    // The worked group 1,1,2,2,1: 3 runs of 3 central and 2 state records.
    const RunsMoments moments = runs_moments(3, 2);
    EXPECT_DOUBLE_EQ(moments.erun, 3.4);
    EXPECT_DOUBLE_EQ(moments.vrun, 0.84);
    const double z = runs_z(3, moments);
    EXPECT_NEAR(*runs_p_value(3, 2, 3, z), 0.5, 1e-12);  // 5 of the 10 orders have <= 3 runs

    const double big_z = -2.5;
    EXPECT_NEAR(*runs_p_value(700, 400, 500, big_z), normal_lower_tail(big_z), 1e-15);
    EXPECT_FALSE(runs_p_value(1, 9, 2, 0.0).has_value());
    EXPECT_FALSE(runs_p_value(9, 0, 1, 0.0).has_value());
    EXPECT_FALSE(runs_p_value(2000, 1, 2, -1.0).has_value());
}

TEST(NormalLowerTail, MatchesPublishedValues) {
    // R: pnorm(z)
    const std::pair<double, double> cases[] = {
        {-0.436435780471985, 3.3126029177002864e-01}, {-1.96, 2.4997895148220428e-02},
        {-3.5, 2.3262907903552494e-04},               {0, 0.5},
        {1.2345, 8.9149167663732987e-01},             {-8.25, 7.9197263146424782e-17},
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

TEST(TieRange, HandBuiltSequences) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> blocks;  // (central, state) per tied value
        int tied;
        int fewest;
        int most;
    };
    const Case cases[] = {
        {"all tied", {{3, 3}}, 1, 2, 6},
        {"ties within one kind only", {{2, 0}, {0, 3}, {1, 0}, {0, 1}}, 0, 4, 4},
        {"alternating ties", {{1, 1}, {1, 1}, {1, 1}}, 3, 4, 6},
        {"one record", {{1, 0}}, 0, 1, 1},
        {"central block inside state records", {{0, 2}, {2, 1}, {0, 2}}, 1, 3, 5},
    };
    for (const auto& c : cases) {
        TieRange range;
        for (const auto& [central, state] : c.blocks) {
            range.add_block(central, state);
        }
        EXPECT_EQ(range.tied_values(), c.tied) << c.what;
        EXPECT_EQ(range.fewest_runs(), c.fewest) << c.what;
        EXPECT_EQ(range.most_runs(), c.most) << c.what;
        EXPECT_EQ(brute_force_range(c.blocks), std::make_pair(c.fewest, c.most)) << c.what;
    }
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

}  // namespace
}  // namespace vesk
