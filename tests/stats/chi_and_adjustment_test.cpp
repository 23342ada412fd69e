#include <gtest/gtest.h>

#include <cmath>

#include "chitest/chi_statistics.h"
#include "core/multiple_testing.h"

namespace vesk {
namespace {

TEST(ChiSquarePValue, MatchesPublishedValues) {
    // R: pchisq(x, df, lower.tail = FALSE)
    struct Case {
        double statistic;
        std::int64_t df;
        double p;
    };
    const Case cases[] = {
        {1.63798411926754, 1, 2.0060227950590265e-01},
        {0.0685714285714286, 1, 7.9342824711973370e-01},
        {3.841458820694124, 1, 4.9999999999999975e-02},
        {12.5, 4, 1.3995792487650892e-02},
        {0.001, 2, 9.9950012497916929e-01},
        {40, 11, 3.5775124527655239e-05},
    };
    for (const auto& c : cases) {
        const auto p = chi_square_p_value(c.statistic, c.df);
        ASSERT_TRUE(p.has_value());
        EXPECT_NEAR(*p, c.p, 1e-12 * c.p) << c.statistic << " df " << c.df;
    }
    EXPECT_FALSE(chi_square_p_value(0, 0).has_value());
    EXPECT_FALSE(chi_square_p_value(NAN, 3).has_value());
}

TEST(ExpectedCounts, FlagsTablesThatCrossEachThreshold) {
    struct Case {
        const char* what;
        std::vector<double> central;
        std::vector<double> state;
        std::int64_t below_five;
        double smallest;
        bool flagged;
    };
    const Case cases[] = {
        // Every expected count 10: trusted.
        {"all large", {10, 10}, {10, 10}, 0, 10, false},
        // Expected 4.5 in 1 of 4 cells (a quarter > a fifth), none below 1: flagged.
        {"a quarter below five", {9, 41}, {0, 50}, 2, 4.5, true},
        // 1 of 6 cells below 5 (a sixth, not more than a fifth), smallest 4: trusted.
        {"a sixth below five", {20, 20, 4}, {80, 80, 16}, 1, 4, false},
        // Smallest expected 0.5: below 1.
        {"below one", {1, 99}, {0, 100}, 2, 0.5, true},
        // A class no record falls in: expected 0.
        {"empty class", {5, 0}, {5, 0}, 2, 0, true},
    };
    for (const auto& c : cases) {
        const ExpectedCounts counts = expected_counts(c.central, c.state);
        EXPECT_EQ(counts.cells, static_cast<std::int64_t>(2 * c.central.size())) << c.what;
        EXPECT_EQ(counts.below_five, c.below_five) << c.what;
        EXPECT_NEAR(counts.smallest, c.smallest, 1e-12) << c.what;
        EXPECT_EQ(counts.flagged, c.flagged) << c.what;
        EXPECT_EQ(counts.reason.empty(), !c.flagged) << c.what;
    }
    EXPECT_TRUE(expected_counts({0, 0}, {0, 0}).flagged);
}

TEST(MultipleTesting, HolmAndBenjaminiHochbergMatchPublishedValues) {
    // R: p.adjust(p, "holm") and p.adjust(p, "BH"); a group without a p-value stays without.
    const std::vector<std::optional<double>> p = {0.01, 0.02, 0.03, std::nullopt, 0.04,
                                                  0.05, 0.5,  0.001, 0.2};
    const std::vector<double> holm = {0.07, 0.12, 0.15, 0.16, 0.16, 0.5, 0.008, 0.4};
    const std::vector<double> bh = {0.04, 0.0533333333333333298, 0.06, 0.064,
                                    0.0666666666666666657, 0.5, 0.008, 0.2285714285714285643};
    const auto holm_adjusted = holm_adjust(p);
    const auto bh_adjusted = bh_adjust(p);
    EXPECT_FALSE(holm_adjusted[3].has_value());
    EXPECT_FALSE(bh_adjusted[3].has_value());
    std::size_t k = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (i == 3) {
            continue;
        }
        EXPECT_NEAR(*holm_adjusted[i], holm[k], 1e-15) << i;
        EXPECT_NEAR(*bh_adjusted[i], bh[k], 1e-15) << i;
        ++k;
    }
}

}  // namespace
}  // namespace vesk
