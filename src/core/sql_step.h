#pragma once

#include <cstddef>
#include <string>

#include "core/database.h"

namespace vesk {

// "?,?,?": count parameter markers for an insert's values.
std::string placeholders(std::size_t count);

// Prepares sql; an engine refusal becomes vesk::Error beginning with what ("The frequency table
// could not be built"), so the user learns which step failed and why.
Statement prepare_step(Database& db, const std::string& sql, const std::string& what);

}  // namespace vesk
