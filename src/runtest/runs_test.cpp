#include "runtest/runs_test.h"

#include "runtest/run_calc.h"
#include "runtest/run_report.h"

namespace vesk {

ResultFile run_runs_test(AppState& state) {
    run_calc(state);
    return run_report(state);
}

}  // namespace vesk
