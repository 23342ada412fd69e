#pragma once

// Shared by the benchmarks: the median of the timed runs, and the peak memory of one run in a
// process of its own (so what earlier runs left behind does not count).

#include <string>
#include <vector>

namespace vesk::bench {

double median(std::vector<double> values);

// Starts this program again with the arguments, waits for it and returns its peak resident
// memory in KiB; throws naming what when it fails.
long child_peak_memory_kib(const std::vector<std::string>& arguments, const std::string& what);

}  // namespace vesk::bench
