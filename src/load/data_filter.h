#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/database.h"

namespace vesk {

// filter_cond for the condition the user typed: " WHERE not(" + condition + ")", its blanks
// kept, or "" when the condition is blank.
std::string filter_cond_for(std::string_view condition);

// The user's condition inside filter_cond: the inverse of filter_cond_for.
std::string filter_condition(std::string_view filter_cond);

// Prepares "delete from data" + filter_cond against the current table data, or gives nothing
// when filter_cond is blank. The condition must be one expression that reads only columns of
// table data (functions allowed; no query, parameter, other table or statement); anything else
// throws vesk::Error with a message for the user.
std::optional<Statement> prepare_filter(Database& db, const std::string& filter_cond);

}  // namespace vesk
