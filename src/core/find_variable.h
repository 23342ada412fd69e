#pragma once

#include <string>

#include "core/app_state.h"

namespace vesk {

// The first variable definition named exactly name, or null.
const VarDef* find_variable(const AppState& state, const std::string& name);

}  // namespace vesk
