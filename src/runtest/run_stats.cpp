#include "runtest/run_stats.h"

#include "runtest/runs_distribution.h"

namespace vesk {

RunGroupStats make_run_stats(std::vector<std::string> groups, std::int64_t n, std::int64_t m,
                             std::int64_t runs, const TieRange& ties) {
    RunGroupStats stats;
    stats.groups = std::move(groups);
    stats.n = n;
    stats.m = m;
    stats.runs = runs;
    stats.tied_values = ties.tied_values();
    stats.fewest_runs = ties.fewest_runs();
    stats.most_runs = ties.most_runs();

    const RunsMoments moments = runs_moments(static_cast<double>(n), static_cast<double>(m));
    stats.z = runs_z(static_cast<double>(runs), moments);
    stats.z_fewest = runs_z(static_cast<double>(stats.fewest_runs), moments);
    stats.z_most = runs_z(static_cast<double>(stats.most_runs), moments);

    if (n == 0 || m == 0) {
        stats.missing = n == 0 ? "no central records" : "no state records";
        return stats;
    }
    if (std::isfinite(stats.z)) {
        stats.p_normal = normal_lower_tail(stats.z);
    }
    stats.p_exact = runs_cdf(n, m, runs);
    stats.p_fewest = runs_cdf(n, m, stats.fewest_runs);
    stats.p_most = runs_cdf(n, m, stats.most_runs);
    if (stats.fewest_runs == stats.most_runs) {
        // No order within the ties changes the runs (always so without ties across kinds).
        stats.p = stats.p_exact;
        stats.p_source = "exact";
    } else {
        // Within a tie the records stand in the order of their sample codes, which the data do not
        // fix; so the group is judged at the order least in favour of too few runs.
        stats.p = stats.p_most;
        stats.p_source = "exact at the most runs over ties";
    }
    return stats;
}

}  // namespace vesk
