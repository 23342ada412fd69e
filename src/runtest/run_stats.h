#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/result_stats.h"
#include "runtest/tie_range.h"

namespace vesk {

// The statistics of one group of the runs test from its counts and the ties of its parameter.
RunGroupStats make_run_stats(std::vector<std::string> groups, std::int64_t n, std::int64_t m,
                             std::int64_t runs, const TieRange& ties);

}  // namespace vesk
