#pragma once

#include "core/app_state.h"

namespace vesk {

// The runs test over table data, group by group: splits grp_vars into grp_names, rebuilds table
// data_run and stores one row per group (group values, then centrun, statrun, totrun, n, m, erun,
// vrun, zvalue). Records are ranked by param_var, ties by sample_var; a run is a stretch of
// records of one kind of sample, central (sample_var reads "1") or state. A statistic that is
// not a finite number is stored as null; an empty table data gives no row. Throws vesk::Error
// when a name is not a plain variable name or the data cannot be read; data_run then stays as
// it was.
void run_calc(AppState& state);

}  // namespace vesk
