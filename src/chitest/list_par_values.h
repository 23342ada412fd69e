#pragma once

#include "core/app_state.h"

namespace vesk {

// Fills par_vals with every distinct value of param_var in table data and its number of records,
// in ascending order of the value (null first). Throws vesk::Error when param_var is not a
// defined variable or the query cannot run; par_vals is empty then.
void list_par_values(AppState& state);

}  // namespace vesk
