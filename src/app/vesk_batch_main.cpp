// vesk-batch: the runs test and the chi-square test without a window, for scripted runs.

#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_run.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return vesk::run_batch(args, std::cout, std::cerr);
}
