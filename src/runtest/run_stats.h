#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/result_stats.h"
#include "runtest/tie_blocks.h"
#include "runtest/tie_range.h"

namespace vesk {

// The statistics of one group of the runs test from its runs as sorted and the blocks of equal
// parameter values (each fed to both ties and blocks). Its Monte Carlo draws are seeded from
// the group's values.
RunGroupStats make_run_stats(std::vector<std::string> groups, std::int64_t runs,
                             const TieRange& ties, const TieBlocks& blocks);

}  // namespace vesk
