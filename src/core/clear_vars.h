#pragma once

#include "core/app_state.h"

namespace vesk {

// Drops table data, empties table variable and clears data_loaded; database errors are ignored.
void clear_vars(AppState& state);

}  // namespace vesk
