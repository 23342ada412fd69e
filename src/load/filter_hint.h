#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"

namespace vesk {

// When the condition compares a character variable with a plain number (STATE = 7), which holds
// for no record since the field is text, a suggestion to quote the value; otherwise "".
std::string quoting_hint(const std::vector<VarDef>& defs, std::string_view condition);

// What a filter that leaves no record of the rows_loaded is told: "The filter leaves no record: it
// removes all 40 rows loaded.", with the quoting hint on a line of its own where there is one.
std::string empty_filter_text(std::int64_t rows_loaded, const std::vector<VarDef>& defs,
                              std::string_view condition);

}  // namespace vesk
