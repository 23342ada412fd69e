#pragma once

#include "core/app_state.h"
#include "core/result_file.h"

namespace vesk {

// The whole runs test: run_calc, then run_report. A failure (thrown as vesk::Error) leaves
// data_run as it was.
ResultFile run_runs_test(AppState& state);

}  // namespace vesk
