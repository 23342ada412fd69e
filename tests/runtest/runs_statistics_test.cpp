#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "runtest/runs_distribution.h"

namespace vesk {
namespace {

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
                EXPECT_NEAR(runs_cdf(n, m, r).value(), cumulative, 1e-12)
                    << n << " " << m << " " << r;
            }
        }
    }
}

TEST(RunsDistribution, LargeGroupsMatchAPlainSumAndClosedForms) {
    // Beyond 1,000 records the p-value stays exact: two central records among 998 state ones
    // form 2 runs in 2 of the C(1000, 2) orders (both at one end).
    EXPECT_NEAR(runs_cdf(2, 998, 2).value(), 2.0 / 499500.0, 1e-12 * 2.0 / 499500.0);
    EXPECT_NEAR(runs_cdf(2, 999, 2).value(), 2.0 / 500500.0, 1e-12 * 2.0 / 500500.0);
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
        EXPECT_NEAR(runs_cdf(3000, 2000, r).value(), sum, 1e-9 * sum) << r;
    }
    // A million records, at the expected runs: about one half, as the normal approximation says.
    EXPECT_NEAR(runs_cdf(500000, 500000, 500001).value(), 0.5, 1e-3);
    EXPECT_EQ(runs_cdf(500000, 500000, 1000000).value(), 1.0);
    // 600 and 600 fully apart: 2 of the C(1200, 600) orders have 2 runs, p = 5.044013e-360
    // (mpmath: 2 / binomial(1200, 600)), below the double range and still not 0.
    const Probability apart = runs_cdf(600, 600, 2);
    EXPECT_NEAR(apart.log(), std::log(5.044013478702454) - 360 * std::log(10.0), 1e-9);
    EXPECT_EQ(probability_text(apart), "5.04401e-360");
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
        EXPECT_NEAR(normal_lower_tail(z).value(), p, 1e-12 * std::max(p, 1e-300) + 1e-300) << z;
    }
    // Beyond the double range, as logarithms (mpmath: log(ncdf(z))), on either side of the
    // switch to the tail series.
    const std::pair<double, double> far[] = {
        {-37.5, -707.668989317507191},
        {-38, -726.557216018820130},
        {-40, -804.608442013753788},
        {-50, -1254.83136113941990},
    };
    for (const auto& [z, log_p] : far) {
        EXPECT_NEAR(normal_lower_tail(z).log(), log_p, 1e-9) << z;
    }
}

}  // namespace
}  // namespace vesk
