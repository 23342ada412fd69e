#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>

#include "chitest/chi_statistics.h"
#include "core/multiple_testing.h"

namespace vesk {
namespace {

TEST(ChiSquarePValue, MatchesPublishedValues) {
    // R: pchisq(x, df, lower.tail = FALSE), as (x, df, p).
    const std::tuple<double, std::int64_t, double> cases[] = {
        {1.63798411926754, 1, 2.0060227950590265e-01},
        {0.0685714285714286, 1, 7.9342824711973370e-01},
        {3.841458820694124, 1, 4.9999999999999975e-02},
        {12.5, 4, 1.3995792487650892e-02},
        {0.001, 2, 9.9950012497916929e-01},
        {40, 11, 3.5775124527655239e-05},
    };
    for (const auto& [x, df, p] : cases) {
        const auto found = chi_square_p_value(x, df);
        ASSERT_TRUE(found.has_value());
        EXPECT_NEAR(found->value(), p, 1e-12 * p) << x << " df " << df;
    }
    // Far below the double range the p-value keeps its digits: with 4 df the tail is
    // exp(-x / 2) (1 + x / 2), so x = 2000 gives log p = -1000 + log(1001).
    const auto tail = chi_square_p_value(2000, 4);
    ASSERT_TRUE(tail.has_value());
    EXPECT_NEAR(tail->log(), -1000 + std::log(1001.0), 1e-10);
    EXPECT_EQ(probability_text(*tail), "5.08103e-432");  // exp(-1000) 1001 = 5.081035e-432
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
    // Flagged: more than a fifth of the cells expect fewer than 5, or one expects fewer than 1.
    const Case cases[] = {
        {"all expect 10", {10, 10}, {10, 10}, 0, 10, false},
        {"4.5 in two of four cells", {9, 41}, {0, 50}, 2, 4.5, true},
        {"4 in one of six cells", {20, 20, 4}, {80, 80, 16}, 1, 4, false},
        // Rows of 1 : 3, so a class of 16 expects 4 and 12: two of ten cells are a fifth, three
        // of fourteen just more.
        {"4 in two of ten cells", {10, 10, 10, 4, 4}, {30, 30, 30, 12, 12}, 2, 4, false},
        {"4 in three of 14 cells",
         {10, 10, 10, 10, 4, 4, 4},
         {30, 30, 30, 30, 12, 12, 12},
         3,
         4,
         true},
        {"0.5 expected", {1, 99}, {0, 100}, 2, 0.5, true},
        {"a class no record falls in", {5, 0}, {5, 0}, 2, 0, true},
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

TEST(ChiGroupStats, EmptyClassesAreLeftOutOfTheStatisticAndItsDegreesOfFreedom) {
    // R: chisq.test(matrix(c(10, 20, 20, 10), 2), correct = FALSE) gives X-squared = 6.6667,
    // df = 1, p-value = 0.009823: every expected count is 15, so X2 = 4 * 5^2 / 15 = 20 / 3, and
    // with 1 df p = erfc(sqrt(X2 / 2)). The same counts with an empty class between them:
    const ChiGroupStats one = chi_group_stats({"a"}, 0, 2, {10, 0, 20}, {20, 0, 10});
    EXPECT_NEAR(one.statistic, 20.0 / 3, 1e-12);
    EXPECT_EQ(one.df, 1);
    EXPECT_NEAR(one.p->value(), std::erfc(std::sqrt(10.0 / 3)), 1e-12);
    EXPECT_NEAR(one.p->value(), 0.009823, 5e-7);
    EXPECT_EQ(one.p_source, "chi-square");
    EXPECT_EQ(one.zero_cells_set_to_one, 2);
    EXPECT_EQ(one.n + one.m, 60);
    // Expected counts all 20, deviations 10, 0, 10 in each row: X2 = 4 * 100 / 20 = 20; with 2
    // df p = exp(-X2 / 2) (R: chisq.test(matrix(c(10, 30, 20, 20, 30, 10), 2)) p = 4.54e-05).
    const ChiGroupStats two = chi_group_stats({"b"}, 0, 3, {10, 20, 0, 30}, {30, 20, 0, 10});
    EXPECT_NEAR(two.statistic, 20, 1e-12);
    EXPECT_EQ(two.df, 2);
    EXPECT_NEAR(two.p->value(), std::exp(-10.0), 1e-12 * std::exp(-10.0));
    EXPECT_EQ(two.cells, 6);

    // A group without state records has no p-value and does not count in the adjustment.
    std::vector<ChiGroupStats> groups = {one, chi_group_stats({"c"}, 0, 1, {3, 2}, {0, 0}), two};
    EXPECT_FALSE(groups[1].p.has_value());
    EXPECT_EQ(groups[1].missing, "no state records in the classes");
    adjust_across_groups(groups);
    EXPECT_FALSE(groups[1].p_holm.has_value());
    EXPECT_NEAR(groups[2].p_holm->value(), 2 * two.p->value(),
                1e-15);  // the smaller of two p-values, not three
}

// Sum over every 2 x k table with the margins of (central, state), each with its hypergeometric
// probability, of those whose Pearson statistic is at least the observed one.
double exact_conditional_p(const std::vector<double>& central, const std::vector<double>& state) {
    const std::size_t k = central.size();
    std::vector<double> column(k);
    double n = 0;
    double total = 0;
    for (std::size_t j = 0; j < k; ++j) {
        column[j] = central[j] + state[j];
        n += central[j];
        total += column[j];
    }
    const auto pearson = [&](const std::vector<double>& first) {
        double x = 0;
        for (std::size_t j = 0; j < k; ++j) {
            const double e1 = n * column[j] / total;
            const double e2 = (total - n) * column[j] / total;
            x += std::pow(first[j] - e1, 2) / e1 + std::pow(column[j] - first[j] - e2, 2) / e2;
        }
        return x;
    };
    const auto choose = [](double a, double b) {
        return std::exp(std::lgamma(a + 1) - std::lgamma(b + 1) - std::lgamma(a - b + 1));
    };
    const double observed = pearson(central);
    double p = 0;
    std::vector<double> first(k);
    // The first row's count in each column in turn; a table's ways, the product of the columns'.
    std::function<void(std::size_t, double, double)> fill = [&](std::size_t j, double left,
                                                                double ways) {
        if (j == k) {
            p +=
                left == 0 && pearson(first) >= observed * (1 - 1e-12) ? ways / choose(total, n) : 0;
            return;
        }
        for (first[j] = 0; first[j] <= std::min(left, column[j]); ++first[j]) {
            fill(j + 1, left - first[j], ways * choose(column[j], first[j]));
        }
    };
    fill(0, n, 1);
    return p;
}

TEST(ChiGroupStats, SmallExpectedCountsGetAMonteCarloPValueNearTheExactConditionalOne) {
    const std::pair<std::vector<double>, std::vector<double>> tables[] = {
        {{3, 0}, {0, 2}},
        {{2, 0, 1}, {0, 3, 1}},
        {{3, 1, 0, 2}, {0, 2, 4, 1}},
        {{6, 1, 1}, {1, 4, 2}},
    };
    for (const auto& [central, state] : tables) {
        const ChiGroupStats stats = chi_group_stats({"g"}, 0, 0, central, state);
        ASSERT_TRUE(stats.p.has_value());
        EXPECT_EQ(stats.p_source, "Monte Carlo (10000 tables)");
        EXPECT_FALSE(stats.small_expected.empty());
        const double exact = exact_conditional_p(central, state);
        EXPECT_NEAR(stats.p->value(), exact, 0.01) << central.size() << " classes, exact " << exact;
        EXPECT_EQ(*stats.p, *chi_group_stats({"g"}, 0, 0, central, state).p);  // same data, same p
        // Another group with the same counts draws tables of its own.
        EXPECT_NE(*stats.p, *chi_group_stats({"h"}, 0, 0, central, state).p);
    }
    // Samples fully apart: one table in C(61, 31) > 1e17 is as extreme, so no draw reaches it and
    // only the table itself counts: p = 1 / 10001, never 0.
    const std::vector<double> central = {30, 0, 1};
    const std::vector<double> state = {0, 30, 0};
    EXPECT_LT(exact_conditional_p(central, state), 1e-16);
    EXPECT_DOUBLE_EQ(chi_group_stats({"g"}, 0, 0, central, state).p->value(), 1.0 / 10001);
}

TEST(MultipleTesting, HolmAndBenjaminiHochbergMatchPublishedValues) {
    // R: p.adjust(p, "holm") and p.adjust(p, "BH"); a group without a p-value stays without.
    using P = std::vector<std::optional<double>>;
    const struct {
        P p, holm, bh;
    } cases[] = {
        {{0.01, 0.02, 0.03, {}, 0.04, 0.05, 0.5, 0.001, 0.2},
         {0.07, 0.12, 0.15, {}, 0.16, 0.16, 0.5, 0.008, 0.4},
         {0.04, 0.16 / 3, 0.06, {}, 0.064, 0.2 / 3, 0.5, 0.008, 1.6 / 7}},
        // BH steps up: 3/2 * 0.04 = 0.06 exceeds the 0.045 above it, so 0.045 holds for both.
        // Holm steps down: 3 * 0.01, 2 * 0.04 = 0.08, then max(0.08, 0.045).
        {{0.045, 0.01, 0.04}, {0.08, 0.03, 0.08}, {0.045, 0.03, 0.045}},
    };
    const auto probabilities = [](const P& values) {
        std::vector<std::optional<Probability>> p;
        for (const auto& value : values) {
            p.push_back(value ? std::optional(Probability::of(*value)) : std::nullopt);
        }
        return p;
    };
    for (const auto& c : cases) {
        const auto p = probabilities(c.p);
        for (const auto& [adjusted, expected] :
             {std::pair{holm_adjust(p), c.holm}, std::pair{bh_adjust(p), c.bh}}) {
            for (std::size_t i = 0; i < c.p.size(); ++i) {
                ASSERT_EQ(adjusted[i].has_value(), c.p[i].has_value()) << i;
                EXPECT_NEAR(adjusted[i] ? adjusted[i]->value() : 0, expected[i].value_or(0), 1e-15)
                    << i;
            }
        }
    }
}

TEST(MultipleTesting, PValuesBelowTheDoubleRangeStayPositiveAndInOrder) {
    // Three groups at e^-900, e^-800 and 0.5: Holm multiplies the smallest by 3, the next by 2;
    // BH the smallest and the next by 3/1 and 3/2, the largest by 1.
    const std::vector<std::optional<Probability>> p = {
        Probability::from_log(-800), Probability::of(0.5), Probability::from_log(-900)};
    const auto holm = holm_adjust(p);
    const auto bh = bh_adjust(p);
    EXPECT_NEAR(holm[2]->log(), -900 + std::log(3.0), 1e-9);
    EXPECT_NEAR(holm[0]->log(), -800 + std::log(2.0), 1e-9);
    EXPECT_NEAR(bh[2]->log(), -900 + std::log(3.0), 1e-9);
    EXPECT_NEAR(bh[0]->log(), -800 + std::log(1.5), 1e-9);
    EXPECT_EQ(holm[1]->value(), 0.5);
    for (const auto& adjusted : {holm, bh}) {
        EXPECT_TRUE(adjusted[2]->below_double_range());
        EXPECT_LT(*adjusted[2], *adjusted[0]);
    }
}

}  // namespace
}  // namespace vesk
