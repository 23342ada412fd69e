#pragma once

#include "core/app_state.h"

namespace vesk {

// Writes each record's class number (1 = first class of class_defs) into column CLASS of table
// data, null for a record whose parameter value no class holds, and rebuilds table data_chi: per
// group and class the number of central (sample value "1") and state records. Splits grp_vars
// into grp_names. Throws vesk::Error when there are no classes, a variable is not defined, or
// the engine refuses the assignment or the grouped query; the caller's transaction then keeps
// the tables as they were.
void chi_classify(AppState& state);

}  // namespace vesk
