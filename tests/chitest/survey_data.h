#pragma once

#include <cstddef>
#include <string>
#include <variant>

#include "core/app_state.h"

namespace vesk::testing {

// A value of one field: null, a number or a text.
using Value = std::variant<std::nullptr_t, double, std::string>;

// Table data as the import leaves it, for the group variables STATE (C 2) and SECTOR (N 1), the
// given sample and parameter variables and the column CLASS; var_defs describe it and grp_vars
// is "STATE, SECTOR".
void make_survey(AppState& state, const VarDef& sample, const VarDef& param);

// Adds count records with these values.
void add_records(AppState& state, const Value& state_code, double sector, const Value& sample,
                 const Value& param, int count);

}  // namespace vesk::testing
