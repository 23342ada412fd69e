#include "runtest/run_stats.h"

#include "runtest/runs_distribution.h"

namespace vesk {

namespace {

std::string scarcity(std::int64_t count, const char* kind) {
    if (count == 0) {
        return std::string("no ") + kind + " records";
    }
    return count < 2 ? std::string("only one ") + kind + " record" : std::string();
}

}  // namespace

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

    const std::string central = scarcity(n, "central");
    const std::string state = scarcity(m, "state");
    stats.flag = central.empty() ? state : state.empty() ? central : central + ", " + state;
    if (!stats.flag.empty()) {
        return stats;
    }
    if (std::isfinite(stats.z)) {
        stats.p_normal = normal_lower_tail(stats.z);
    }
    if (n + m <= exact_runs_limit) {
        stats.p_exact = runs_cdf(n, m, runs);
    }
    stats.p_fewest = runs_p_value(n, m, stats.fewest_runs, stats.z_fewest);
    stats.p_most = runs_p_value(n, m, stats.most_runs, stats.z_most);
    return stats;
}

}  // namespace vesk
