// End to end, as a user's session of one process: import of the generated survey file, value
// listing of MONTH, runs test of AMOUNT and chi-square test of MONTH in twelve classes, grouped
// by STATE and SECTOR. Each run is a process of its own on a new database; the median of five
// runs, their processor time and the peak memory.
//
//   bench_end_to_end DATA_FOLDER [LINES]            (LINES: 1,000,000 unless given)
//   bench_end_to_end --session DATABASE FILE        (the measured child process)

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "bench/survey_generator.h"
#include "chitest/chi_test.h"
#include "chitest/class_lines.h"
#include "chitest/list_par_values.h"
#include "core/verdict.h"
#include "load/load_data.h"
#include "runtest/runs_test.h"

namespace {

using vesk::AppState;
using vesk::Database;
using Clock = std::chrono::steady_clock;

constexpr int runs = 5;

double since(Clock::time_point begin) {
    return std::chrono::duration<double>(Clock::now() - begin).count();
}

// The measured session; prints the time of each step.
int session(const std::string& db_path, const std::string& file) {
    AppState state{Database::open(db_path)};
    auto begin = Clock::now();
    vesk::bench::prepare_survey_load(state, file);
    vesk::bench::add_month_variable(state.db_conn);
    const vesk::LoadSummary summary = vesk::load_data(state);
    if (summary.lines_rejected != 0 || !state.data_loaded) {
        throw std::runtime_error("the survey file did not load completely");
    }
    const double import = since(begin);

    state.grp_vars = "STATE, SECTOR";
    state.grp_frozen = true;
    state.sample_var = "SAMPLE";
    state.out_file = db_path;
    begin = Clock::now();
    state.param_var = "MONTH";
    vesk::list_par_values(state);
    const double listing = since(begin);

    begin = Clock::now();
    state.param_var = "AMOUNT";
    vesk::run_runs_test(state);
    const double runs_test = since(begin);

    begin = Clock::now();
    state.param_var = "MONTH";
    for (const vesk::ParValue& value : state.par_vals) {
        state.class_defs.push_back(vesk::make_class({value}));
    }
    vesk::run_chi_test(state);
    const double chi = since(begin);
    std::printf("  import %.3f s, value listing %.3f s, runs test %.3f s, chi-square %.3f s\n",
                import, listing, runs_test, chi);
    std::fflush(stdout);
    return 0;
}

struct Usage {
    double wall = 0;
    double cpu = 0;
    double peak_mb = 0;
};

Usage run_session(const std::string& db_path, const std::string& file) {
    vesk::bench::remove_database(db_path);
    std::string arguments[] = {"bench_end_to_end", "--session", db_path, file};
    char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(),
                    arguments[3].data(), nullptr};
    const auto begin = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv("/proc/self/exe", argv);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the measured session failed");
    }
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return {since(begin), seconds(usage.ru_utime) + seconds(usage.ru_stime),
            static_cast<double>(usage.ru_maxrss) / 1024.0};
}

int measure(const std::string& folder, std::int64_t lines, int count) {
    const std::string file = vesk::bench::ensure_survey_file(folder, lines);
    const std::string db_path = folder + "/bench_end_to_end.db";
    std::vector<double> walls;
    std::vector<double> cpus;
    double peak = 0;
    for (int run = 0; run < count; ++run) {
        const Usage usage = run_session(db_path, file);
        walls.push_back(usage.wall);
        cpus.push_back(usage.cpu);
        peak = std::max(peak, usage.peak_mb);
    }
    vesk::bench::remove_database(db_path);
    for (const vesk::TestKind kind : {vesk::TestKind::runs, vesk::TestKind::chi_square}) {
        std::filesystem::remove(vesk::result_file_name(db_path, kind));
    }
    std::printf(
        "end to end %lld lines (import, value listing, runs test, chi-square test in one "
        "process): median of %d %.3f s, cpu %.3f s, peak memory %.1f MB; runs:",
        static_cast<long long>(lines), count, vesk::bench::median(walls), vesk::bench::median(cpus),
        peak);
    for (const double t : walls) {
        std::printf(" %.3f", t);
    }
    std::printf("\n");
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 4 && std::string(argv[1]) == "--session") {
            return session(argv[2], argv[3]);
        }
        if (argc == 2) {
            return measure(argv[1], vesk::bench::default_survey_lines, runs);
        }
        if (argc == 3) {
            // A long file is measured once: each run takes minutes.
            return measure(argv[1], std::stoll(argv[2]), 1);
        }
        std::fprintf(stderr, "usage: bench_end_to_end DATA_FOLDER [LINES]\n");
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_end_to_end: %s\n", e.what());
        return 1;
    }
}
