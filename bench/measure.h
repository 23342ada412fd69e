#pragma once

// Shared by the benchmarks: the median of the timed runs, and the peak memory of one run in a
// process of its own (so what earlier runs left behind does not count).

#include <functional>
#include <string>
#include <vector>

namespace vesk::bench {

double median(std::vector<double> values);

// Removes a database file and its rollback journal, where they are.
void remove_database(const std::string& path);

// Starts this program again with the arguments, waits for it and returns its peak resident
// memory in KiB; throws naming what when it fails.
long child_peak_memory_kib(const std::vector<std::string>& arguments, const std::string& what);

// The main of a benchmark program. "NAME DATA_FOLDER" calls measure(DATA_FOLDER);
// "NAME CHILD_FLAG A B", the measured child process, calls child(A, B). A failure is printed
// after the name and gives status 1, a wrong call the usage and status 2.
int benchmark_main(int argc, char** argv, const std::string& name, const std::string& child_flag,
                   const std::function<int(const std::string&, const std::string&)>& child,
                   const std::function<int(const std::string&)>& measure);

}  // namespace vesk::bench
