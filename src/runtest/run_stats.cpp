#include "runtest/run_stats.h"

#include <cmath>

#include "core/group_seed.h"
#include "runtest/runs_distribution.h"
#include "runtest/ties_p_value.h"

namespace vesk {

RunGroupStats make_run_stats(std::vector<std::string> groups, std::int64_t runs,
                             const TieRange& ties, const TieBlocks& blocks) {
    RunGroupStats stats;
    stats.groups = std::move(groups);
    stats.n = blocks.central();
    stats.m = blocks.state();
    stats.runs = runs;
    stats.blocks = blocks.count();
    stats.tied_values = ties.tied_values();
    stats.fewest_runs = ties.fewest_runs();
    stats.most_runs = ties.most_runs();

    const RunsMoments moments =
        runs_moments(static_cast<double>(stats.n), static_cast<double>(stats.m));
    stats.z = runs_z(static_cast<double>(runs), moments);
    stats.t = blocks.t();
    stats.expected_runs = blocks.expected_t();
    stats.sd_t = std::sqrt(blocks.variance_t());
    if (stats.sd_t > 0) {
        stats.z_t = (stats.t - stats.expected_runs) / stats.sd_t;
    }

    if (stats.n == 0 || stats.m == 0) {
        stats.missing = stats.n == 0 ? "no central records" : "no state records";
        return stats;
    }
    stats.missing_runs_share = (stats.expected_runs - stats.t) / stats.expected_runs;
    if (std::isfinite(stats.z)) {
        stats.p_normal = normal_lower_tail(stats.z);
    }
    stats.p_exact = runs_cdf(stats.n, stats.m, runs);
    TiesPValue primary =
        runs_p_value(blocks, runs, stats.z_t, group_seed(stats.groups, DrawStream::runs));
    stats.p = primary.p;
    stats.p_source = std::move(primary.source);
    stats.p_standard_error = primary.standard_error;
    return stats;
}

}  // namespace vesk
