#pragma once

#include "core/app_state.h"
#include "core/result_file.h"

namespace vesk {

// Writes table data_run to out_file followed by "_run.csv": a header of the group columns and
// cent_run,state_run,total_run,n,m,erun,vrun,zvalue, then one line per group in group order.
// Returns the file's path and its number of data lines; throws vesk::Error naming the path and
// the reason when the file cannot be written, leaving an earlier file as it was.
ResultFile run_report(AppState& state);

}  // namespace vesk
