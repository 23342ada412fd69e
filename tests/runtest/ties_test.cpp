#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <vector>

#include "runtest/runs_distribution.h"
#include "runtest/tie_blocks.h"
#include "runtest/tie_range.h"
#include "runtest/ties_p_value.h"

namespace vesk {
namespace {

using Blocks = std::vector<TieBlock>;  // (central, state) per parameter value, in order

TieBlocks fed(const Blocks& blocks) {
    TieBlocks fed_blocks;
    for (const TieBlock& block : blocks) {
        fed_blocks.add_block(block.central, block.state);
    }
    return fed_blocks;
}

int runs_in(const std::vector<int>& kinds) {
    int runs = kinds.empty() ? 0 : 1;
    for (std::size_t i = 1; i < kinds.size(); ++i) {
        runs += kinds[i] != kinds[i - 1] ? 1 : 0;
    }
    return runs;
}

// The runs of every arrangement of the labels within every block (each stands for the same
// number of record orders).
std::vector<int> runs_of_every_order(const Blocks& blocks) {
    std::vector<std::vector<int>> labels;
    for (const TieBlock& block : blocks) {
        std::vector<int> block_labels(static_cast<std::size_t>(block.central), 0);
        block_labels.insert(block_labels.end(), static_cast<std::size_t>(block.state), 1);
        labels.push_back(block_labels);
    }
    std::vector<int> runs;
    std::vector<int> sequence;
    auto walk = [&](auto&& self, std::size_t index) -> void {
        if (index == labels.size()) {
            runs.push_back(runs_in(sequence));
            return;
        }
        std::vector<int> block = labels[index];
        do {
            const std::size_t mark = sequence.size();
            sequence.insert(sequence.end(), block.begin(), block.end());
            self(self, index + 1);
            sequence.resize(mark);
        } while (std::next_permutation(block.begin(), block.end()));
    };
    walk(walk, 0);
    return runs;
}

// T by its definition: the mean number of runs over every order within every block.
double t_by_orders(const Blocks& blocks) {
    const std::vector<int> runs = runs_of_every_order(blocks);
    double sum = 0;
    for (int r : runs) {
        sum += r;
    }
    return sum / static_cast<double>(runs.size());
}

// Every relabelling: each set of n of the group's records made central, T of each by its
// definition.
struct Relabellings {
    double mean = 0;
    double variance = 0;
    double p = 0;  // share with T at most the observed one
};

Relabellings every_relabelling(const Blocks& blocks) {
    std::vector<std::size_t> block_of;
    int central = 0;
    for (std::size_t j = 0; j < blocks.size(); ++j) {
        block_of.insert(block_of.end(), static_cast<std::size_t>(blocks[j].size()), j);
        central += static_cast<int>(blocks[j].central);
    }
    const double observed = t_by_orders(blocks);
    const int records = static_cast<int>(block_of.size());
    std::map<std::vector<std::int64_t>, double> t_of;  // by block-count vector
    double count = 0;
    double sum = 0;
    double squares = 0;
    double extreme = 0;
    for (unsigned mask = 0; mask < (1u << records); ++mask) {
        if (__builtin_popcount(mask) != central) {
            continue;
        }
        Blocks relabelled = blocks;
        std::vector<std::int64_t> counts(blocks.size(), 0);
        for (int i = 0; i < records; ++i) {
            counts[block_of[static_cast<std::size_t>(i)]] += (mask >> i) & 1u;
        }
        for (std::size_t j = 0; j < blocks.size(); ++j) {
            relabelled[j] = {counts[j], blocks[j].size() - counts[j]};
        }
        if (!t_of.contains(counts)) {
            t_of[counts] = t_by_orders(relabelled);
        }
        const double t = t_of[counts];
        count += 1;
        sum += t;
        squares += t * t;
        extreme += t <= observed + 1e-9 ? 1 : 0;
    }
    const double mean = sum / count;
    return {mean, squares / count - mean * mean, extreme / count};
}

TEST(RunsOverTies, TAndItsExactPValueAgreeWithEveryRelabelling) {
    const Blocks hand_built[] = {
        {{1, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 1}},  // one tie of both samples
        {{2, 1}, {1, 2}, {0, 3}, {2, 0}},
        {{3, 0}, {0, 3}},                  // apart, though tied: 2 of C(6, 3) relabellings
        {{1, 1}, {1, 1}, {1, 1}},          // every value tied across the samples
        {{2, 0}, {0, 3}, {1, 0}, {0, 1}},  // ties within one sample only
        {{1, 2}, {0, 3}, {0, 1}},          // one central record
        {{2, 2}, {1, 0}, {0, 1}, {2, 1}},
    };
    std::vector<Blocks> groups(std::begin(hand_built), std::end(hand_built));
    std::mt19937 random(22);
    while (groups.size() < 60) {
        Blocks blocks(2 + random() % 4);
        std::int64_t records = 0;
        for (TieBlock& block : blocks) {
            block = {static_cast<std::int64_t>(random() % 3),
                     static_cast<std::int64_t>(random() % 3)};
            if (block.size() == 0) {
                block.state = 1;
            }
            records += block.size();
        }
        const bool both =
            std::any_of(blocks.begin(), blocks.end(), [](auto b) { return b.central; }) &&
            std::any_of(blocks.begin(), blocks.end(), [](auto b) { return b.state; });
        if (records <= 12 && both) {
            groups.push_back(blocks);
        }
    }
    for (const Blocks& blocks : groups) {
        const TieBlocks tie_blocks = fed(blocks);
        const Relabellings all = every_relabelling(blocks);
        EXPECT_NEAR(tie_blocks.t(), t_by_orders(blocks), 1e-12);
        EXPECT_NEAR(exact_p_over_ties(blocks).value(), all.p, 1e-12);
        if (tie_blocks.any_tie() && tie_blocks.count() > 1) {
            const TiesPValue primary = runs_p_value(tie_blocks, 0, 0, 1);
            EXPECT_EQ(primary.source, "exact over ties");
            EXPECT_NEAR(primary.p.value(), all.p, 1e-12);
        }
        // The permutation moments, against the same enumeration.
        EXPECT_NEAR(tie_blocks.expected_t(), all.mean, 1e-12);
        EXPECT_NEAR(tie_blocks.variance_t(), all.variance, 1e-10);
    }
}

TEST(RunsOverTies, PermutationMomentsMatchRationalEnumeration) {
    // Block sizes and n, with E T = 1 + 2nm/N and Var T enumerated in rational arithmetic.
    const struct {
        std::vector<std::int64_t> sizes;
        std::int64_t n;
        double variance;
    } cases[] = {
        {{2, 3, 1, 2}, 4, 6.0 / 7},
        {{3, 3, 3}, 4, 145.0 / 189},
        {{1, 2, 1, 3, 2, 1}, 5, 200.0 / 189},
        {{4, 1, 1, 4}, 3, 163.0 / 300},
        {{1, 1, 1, 1, 1, 1, 1}, 3, 68.0 / 49},  // the classical 2nm(2nm - N) / (N^2 (N - 1))
    };
    for (const auto& c : cases) {
        // The moments depend on the sizes and n only: put the central records first.
        TieBlocks blocks;
        std::int64_t left = c.n;
        std::int64_t total = 0;
        for (std::int64_t size : c.sizes) {
            const std::int64_t central = std::min(left, size);
            blocks.add_block(central, size - central);
            left -= central;
            total += size;
        }
        const double n = static_cast<double>(c.n);
        const double m = static_cast<double>(total - c.n);
        EXPECT_NEAR(blocks.expected_t(), 1 + 2 * n * m / (n + m), 1e-12);
        EXPECT_NEAR(blocks.variance_t(), c.variance, 1e-12) << c.sizes.size() << " blocks";
    }
}

TEST(RunsOverTies, WithoutTiesTheEnumerationGivesTheClassicalExactPValue) {
    // Each record its own value: the block-count vectors are the orders, T the runs.
    std::mt19937 random(7);
    for (int trial = 0; trial < 40; ++trial) {
        Blocks blocks;
        std::int64_t central = 0;
        std::int64_t state = 0;
        while (central == 0 || state == 0 || blocks.size() < 16) {
            const bool is_central = random() % 2 == 0;
            blocks.push_back({is_central ? 1 : 0, is_central ? 0 : 1});
            (is_central ? central : state) += 1;
        }
        const TieBlocks tie_blocks = fed(blocks);
        const auto runs = static_cast<std::int64_t>(tie_blocks.t());
        EXPECT_EQ(static_cast<double>(runs), tie_blocks.t());
        const double classical = runs_cdf(central, state, runs).value();
        EXPECT_NEAR(exact_p_over_ties(blocks).value(), classical, 1e-12 * classical);
        const TiesPValue primary = runs_p_value(tie_blocks, runs, 0, 1);
        EXPECT_EQ(primary.source, "exact");
        EXPECT_EQ(primary.p.value(), classical);
    }
}

TEST(RunsOverTies, MonteCarloPValueIsWithinThreeStandardErrorsJustPastTheEnumeration) {
    // Seven values of seven records, 24 central: 134,512 block-count vectors, just past the
    // enumeration. The exact p-values were enumerated in rational arithmetic.
    const struct {
        std::vector<std::int64_t> central;
        double exact;
    } cases[] = {
        {{5, 4, 3, 3, 3, 3, 3}, 0.8800864992985032},
        {{6, 5, 4, 3, 3, 2, 1}, 0.0842843592266487},
        {{6, 6, 5, 4, 2, 1, 0}, 0.00027036274418024836},
    };
    const std::vector<std::int64_t> sizes(7, 7);
    EXPECT_EQ(block_count_vectors(sizes, 24, 200000), 134512);
    for (const auto& c : cases) {
        Blocks blocks;
        for (std::int64_t central : c.central) {
            blocks.push_back({central, 7 - central});
        }
        EXPECT_NEAR(exact_p_over_ties(blocks).value(), c.exact, 1e-12);
        const TiesPValue drawn = runs_p_value(fed(blocks), 0, 0, 2024);
        EXPECT_EQ(drawn.source, "Monte Carlo over ties (10000)");
        ASSERT_TRUE(drawn.standard_error.has_value());
        EXPECT_NEAR(drawn.p.value(), c.exact, 3 * *drawn.standard_error) << c.exact;
        EXPECT_EQ(drawn.p, runs_p_value(fed(blocks), 0, 0, 2024).p);  // the same draws
    }
}

TEST(RunsOverTies, MonteCarloCountsDrawsTiedWithTheObservedTAndTheGroupItself) {
    // Groups whose T takes few values, so many relabellings tie with the observed one: the draws
    // must agree with every relabelling within 3 standard errors. (2, 0) (0, 2): 2 of the 6
    // relabellings give T = 2, p = 1/3; (1, 1) (1, 1) has the largest T, p = 1.
    const Blocks small[] = {
        {{2, 0}, {0, 2}},         {{1, 1}, {1, 1}},         {{3, 0}, {0, 3}},
        {{2, 1}, {0, 3}, {1, 0}}, {{1, 1}, {1, 1}, {2, 0}},
    };
    for (const Blocks& blocks : small) {
        const double exact = every_relabelling(blocks).p;
        const TiesPValue drawn = monte_carlo_p_over_ties(blocks, monte_carlo_draws, 11);
        ASSERT_TRUE(drawn.standard_error.has_value());
        EXPECT_NEAR(drawn.p.value(), exact, 3 * std::max(*drawn.standard_error, 1e-4))
            << blocks.size() << " values, exact " << exact;
    }
    // Seven values of seven records, the 24 central on the lowest: past the enumeration, and
    // hardly any of the C(49, 24) relabellings has a T as small, so no draw reaches it and only
    // the group itself counts: p = 1 / 10001, never 0.
    Blocks apart;
    for (std::int64_t central : {7, 7, 7, 3, 0, 0, 0}) {
        apart.push_back({central, 7 - central});
    }
    EXPECT_LT(exact_p_over_ties(apart).value(), 1e-9);
    const TiesPValue drawn = runs_p_value(fed(apart), 0, 0, 5);
    EXPECT_EQ(drawn.source, "Monte Carlo over ties (10000)");
    EXPECT_EQ(drawn.p.value(), 1.0 / 10001);
}

TEST(RunsOverTies, EachLimitDecidesTheMethodAtItsBoundary) {
    // Two central records among 447 values, `pairs` of them held by two records: two values
    // with one each in C(447, 2) = 99,681 ways, or both in one pair: 99,681 + pairs vectors.
    // Then three central records: more vectors than the enumeration takes, drawn up to 1,000
    // values. One state record among 5,000 values: 5,000 vectors, exact however many values.
    const auto group = [](std::int64_t values, std::int64_t pairs, std::int64_t central) {
        Blocks blocks;
        for (std::int64_t j = 0; j < values; ++j) {
            const std::int64_t size = j < pairs ? 2 : 1;
            const std::int64_t c = std::min(central, size);
            central -= c;
            blocks.push_back({c, size - c});
        }
        return blocks;
    };
    const struct {
        Blocks blocks;
        std::int64_t vectors;  // -1: not counted here
        const char* source;
    } cases[] = {
        {group(447, 319, 2), 100000, "exact over ties"},
        {group(447, 320, 2), 100001, "Monte Carlo over ties (10000)"},
        {group(1000, 1000, 3), -1, "Monte Carlo over ties (10000)"},
        {group(1001, 1001, 3), -1, "normal over ties"},
        {group(5000, 1, 5000), 5000, "exact over ties"},
        {{{3, 4}}, -1, "exact over ties"},  // one value: every relabelling has the same T
    };
    for (const auto& c : cases) {
        const TieBlocks blocks = fed(c.blocks);
        const double z = (blocks.t() - blocks.expected_t()) / std::sqrt(blocks.variance_t());
        const TiesPValue primary = runs_p_value(blocks, 0, z, 3);
        EXPECT_EQ(primary.source, c.source) << blocks.count() << " values";
        if (c.vectors >= 0) {
            std::vector<std::int64_t> sizes;
            for (const TieBlock& block : c.blocks) {
                sizes.push_back(block.size());
            }
            EXPECT_EQ(block_count_vectors(sizes, std::min(blocks.central(), blocks.state())),
                      std::min(c.vectors, enumeration_limit + 1));
        }
    }
}

TEST(TieRange, AgreesWithEnumerationOnRandomBlocks) {
    std::mt19937 random(20261206);
    for (int trial = 0; trial < 300; ++trial) {
        Blocks blocks(1 + random() % 4);
        TieRange range;
        for (TieBlock& block : blocks) {
            block = {static_cast<std::int64_t>(random() % 4),
                     static_cast<std::int64_t>(random() % 3)};
            if (block.size() == 0) {
                block.central = 1;
            }
            range.add_block(block.central, block.state);
        }
        const std::vector<int> runs = runs_of_every_order(blocks);
        EXPECT_EQ(range.fewest_runs(), *std::min_element(runs.begin(), runs.end())) << trial;
        EXPECT_EQ(range.most_runs(), *std::max_element(runs.begin(), runs.end())) << trial;
    }
}

}  // namespace
}  // namespace vesk
