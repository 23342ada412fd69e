// vesk-batch: the runs test and the chi-square test without a window, for scripted runs.

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_run.h"
#include "core/temporary_file_registry.h"
#include "core/write_failure.h"

int main(int argc, char** argv) {
    vesk::remove_temporary_files_on_signals();
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = vesk::run_batch(args, std::cout, std::cerr);
    // Closing is the last chance to hear of output that never reached its file.
    if (std::fclose(stdout) != 0 && status == vesk::exit_success) {
        std::cerr << vesk::write_failure("to standard output", errno).what() << '\n';
        return vesk::exit_user_error;
    }
    return status;
}
