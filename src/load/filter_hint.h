#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"

namespace vesk {

// When the condition compares a character variable with a plain number (STATE = 7), which holds
// for no record since the field is text, a suggestion to quote the value; otherwise "".
std::string quoting_hint(const std::vector<VarDef>& defs, std::string_view condition);

}  // namespace vesk
