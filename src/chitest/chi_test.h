#pragma once

#include "core/app_state.h"
#include "core/result_file.h"

namespace vesk {

// The whole chi-square test over the frozen classes: chi_classify, chi_table, then chi_report.
// The two table steps are one transaction, so a failure (thrown as vesk::Error) leaves CLASS,
// data_chi and data_chitable as they were.
ResultFile run_chi_test(AppState& state);

}  // namespace vesk
