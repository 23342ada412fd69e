#include "runtest/runs_test.h"

#include "core/sample_rule.h"
#include "runtest/run_calc.h"
#include "runtest/run_report.h"

namespace vesk {

ResultFile run_runs_test(AppState& state) {
    run_calc(state);
    ResultFile result = run_report(state);
    SampleTotals totals;
    for (const RunGroupStats& group : state.run_stats) {
        totals.central += group.n;
        totals.state += group.m;
    }
    result.note = sample_rule_note(state.db_conn, state.sample_var, totals);
    return result;
}

}  // namespace vesk
