#pragma once

#include <cstdint>
#include <string>

#include "core/database.h"

namespace vesk {

// Records of a whole run by sample.
struct SampleTotals {
    std::int64_t central = 0;
    std::int64_t state = 0;
};

// When no record reads 1 in the sample variable, or every record does, every group of a run
// lacks one sample: one note says so and names the rule, with a few of the values the variable
// holds, so the user sees a coding such as 01/02 at once. Empty when both samples have records
// (or neither has: no data).
std::string sample_rule_note(Database& db, const std::string& sample_var,
                             const SampleTotals& totals);

}  // namespace vesk
