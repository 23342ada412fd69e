#include "bench/measure.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace vesk::bench {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void remove_database(const std::string& path) {
    std::filesystem::remove(path);
    std::filesystem::remove(path + "-journal");
}

long child_peak_memory_kib(const std::vector<std::string>& arguments, const std::string& what) {
    std::vector<char*> argv;
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execv("/proc/self/exe", argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the measured " + what + " failed");
    }
    return usage.ru_maxrss;
}

int benchmark_main(int argc, char** argv, const std::string& name, const std::string& child_flag,
                   const std::function<int(const std::string&, const std::string&)>& child,
                   const std::function<int(const std::string&)>& measure) {
    try {
        if (argc == 4 && argv[1] == child_flag) {
            return child(argv[2], argv[3]);
        }
        if (argc != 2) {
            std::fprintf(stderr, "usage: %s DATA_FOLDER\n", name.c_str());
            return 2;
        }
        return measure(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), e.what());
        return 1;
    }
}

}  // namespace vesk::bench
