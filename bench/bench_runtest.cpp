// Runs test speed and memory: the generated survey file of 1,000,000 lines loaded once, then
// run_calc and run_report grouped by STATE and SECTOR with SAMPLE as sample and AMOUNT as
// parameter, five times; the median time, and the peak memory of one run in a process of its
// own.
//
//   bench_runtest DATA_FOLDER
//   bench_runtest --run-once DATABASE OUT_FILE   (the measured child process)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "bench/survey_generator.h"
#include "runtest/run_calc.h"
#include "runtest/run_report.h"

namespace {

using vesk::AppState;
using vesk::Database;
using vesk::bench::remove_database;

constexpr int runs = 5;

void choose_variables(AppState& state, const std::string& out_file) {
    state.grp_vars = "STATE, SECTOR";
    state.sample_var = "SAMPLE";
    state.param_var = "AMOUNT";
    state.out_file = out_file;
}

struct Timing {
    double calc = 0;
    double report = 0;
    double cpu = 0;  // processor time of every thread, which the machine's load does not inflate
    std::int64_t rows = 0;
    double total() const { return calc + report; }
};

Timing run_once(AppState& state) {
    using clock = std::chrono::steady_clock;
    const std::clock_t cpu_begin = std::clock();
    const auto begin = clock::now();
    vesk::run_calc(state);
    const auto middle = clock::now();
    const vesk::ResultFile result = vesk::run_report(state);
    const auto end = clock::now();
    return {std::chrono::duration<double>(middle - begin).count(),
            std::chrono::duration<double>(end - middle).count(),
            static_cast<double>(std::clock() - cpu_begin) / CLOCKS_PER_SEC, result.rows};
}

int child_run(const std::string& db_path, const std::string& out_file) {
    AppState state{Database::open(db_path)};
    state.var_defs = vesk::bench::survey_layout();
    choose_variables(state, out_file);
    run_once(state);
    return 0;
}

int measure(const std::string& folder) {
    const std::int64_t lines = vesk::bench::default_survey_lines;
    const std::string file = vesk::bench::ensure_survey_file(folder, lines);
    const std::string db_path = folder + "/bench_runtest.db";
    const std::string out_file = folder + "/bench_runtest";
    remove_database(db_path);

    std::vector<Timing> timings;
    {
        AppState state{Database::open(db_path)};
        vesk::bench::load_survey(state, file);
        choose_variables(state, out_file);
        for (int run = 0; run < runs; ++run) {
            timings.push_back(run_once(state));
        }
    }
    std::vector<Timing> sorted = timings;
    std::sort(sorted.begin(), sorted.end(),
              [](const Timing& a, const Timing& b) { return a.total() < b.total(); });
    const Timing& middle = sorted[sorted.size() / 2];
    std::printf(
        "runtest %8lld records, %lld groups: median %.3f s of %d (run_calc %.3f s, "
        "run_report %.3f s, processor %.3f s; runs:",
        static_cast<long long>(lines), static_cast<long long>(middle.rows), middle.total(), runs,
        middle.calc, middle.report, middle.cpu);
    for (const Timing& t : timings) {
        std::printf(" %.3f", t.total());
    }
    std::printf(")\n");
    std::fflush(stdout);
    std::printf("runtest %8lld records, peak memory of the running process: %.1f MB\n",
                static_cast<long long>(lines),
                static_cast<double>(vesk::bench::child_peak_memory_kib(
                    {"bench_runtest", "--run-once", db_path, out_file}, "runs test")) /
                    1024.0);
    remove_database(db_path);
    std::filesystem::remove(out_file + "_run.csv");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return vesk::bench::benchmark_main(argc, argv, "bench_runtest", "--run-once", child_run,
                                       measure);
}
