#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/result_file.h"

namespace vesk {

// The report's names of the columns after the group columns: cfrq_tot, sfrq_tot, pfrq_tot, then
// cfrq_cl1 ... cfrq_clm, sfrq_cl1 ..., pfrq_cl1 ..., df, chisqval.
std::vector<std::string> chi_statistic_names(std::int64_t class_count);

// Writes data_chitable to out_file followed by "_chi.csv", in the order of the group variables.
ResultFile chi_report(AppState& state);

}  // namespace vesk
