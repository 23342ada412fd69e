#pragma once

#include <string>

#include "core/load_summary.h"

namespace vesk {

// What an import did, in lines for the user: how many lines were read, loaded and rejected, what
// the filter removed, and the first rejected lines with their reasons.
std::string load_report(const LoadSummary& summary);

// "AGE is not a number", "duplicate key", ...
std::string reject_reason_text(const RejectedLine& rejected);

// "line 3: duplicate key"
std::string rejected_line_text(const RejectedLine& rejected);

}  // namespace vesk
