#pragma once

#include <string>

#include "core/load_summary.h"

namespace vesk {

// What an import did, in lines for the user: how many lines were read, loaded and rejected, what
// the filter removed, and the first rejected lines with their reasons.
std::string load_report(const LoadSummary& summary);

// The refusal of a load that loaded no line, named by the input's path: the summary with the
// first reasons, and for blank numeric fields that a variable left out is not read.
std::string nothing_loaded_report(const LoadSummary& summary, const std::string& path);

// "AGE is not a number", "duplicate key", ...
std::string reject_reason_text(const RejectedLine& rejected);

// "line 3: duplicate key"
std::string rejected_line_text(const RejectedLine& rejected);

}  // namespace vesk
