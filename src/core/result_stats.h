#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace vesk {

inline constexpr double no_value = std::numeric_limits<double>::quiet_NaN();

// What the statistician needs beside a group's z value to judge it: p-values, how much the ties
// of the parameter leave the number of runs open, and whether the test says anything at all.
struct RunGroupStats {
    std::vector<std::string> groups;  // the group's values as text, in group order
    std::int64_t n = 0;               // central records
    std::int64_t m = 0;               // state records
    std::int64_t runs = 0;            // runs in the order the result file counts
    double z = no_value;
    std::optional<double> p_normal;  // lower tail of z: too few runs
    std::optional<double> p_exact;   // P(R <= runs), for n + m up to the exact limit
    // Tied parameter values holding records of both kinds, and the fewest and most runs any
    // order within the ties could give, with their z and p.
    std::int64_t tied_values = 0;
    std::int64_t fewest_runs = 0;
    std::int64_t most_runs = 0;
    double z_fewest = no_value;
    double z_most = no_value;
    std::optional<double> p_fewest;
    std::optional<double> p_most;
    std::string flag;  // why the group gets no p-value; empty when it gets one
    // Across the groups of the run, of the primary p-value.
    std::optional<double> p_holm;
    std::optional<double> p_bh;

    // The exact p-value where there is one, else the normal one.
    std::optional<double> p_primary() const { return p_exact ? p_exact : p_normal; }
};

// The same for a group of the chi-square test.
struct ChiGroupStats {
    std::vector<std::string> groups;
    double chival = no_value;
    std::int64_t df = 0;
    std::optional<double> p;  // upper tail of the chi-square distribution; none for df 0
    // Expected counts of the raw table under homogeneity.
    std::int64_t cells = 0;
    std::int64_t below_five = 0;
    double smallest_expected = no_value;
    std::string flag;  // why the approximation is doubtful; empty when it is not
    std::optional<double> p_holm;
    std::optional<double> p_bh;

    std::optional<double> p_primary() const { return p; }
};

}  // namespace vesk
