// Import speed and memory: the generated survey file of 1,000,000 and of 100,000 lines loaded
// into table data, five times each; the median time, lines a second, and the peak memory of one
// import in a process of its own.
//
//   bench_import DATA_FOLDER
//   bench_import --import-once DATABASE FILE   (the measured child process)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "bench/survey_generator.h"
#include "load/load_data.h"

namespace {

using vesk::AppState;
using vesk::Database;
using vesk::bench::remove_database;

constexpr int runs = 5;

struct Timing {
    double wall = 0;
    double cpu = 0;  // of this process alone: what the import costs on a machine others share
};

Timing time_load(AppState& state) {
    const auto begin = std::chrono::steady_clock::now();
    const std::clock_t cpu_begin = std::clock();
    const vesk::LoadSummary summary = vesk::load_data(state);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - begin;
    const double cpu = static_cast<double>(std::clock() - cpu_begin) / CLOCKS_PER_SEC;
    if (summary.lines_rejected != 0 || !state.data_loaded) {
        throw std::runtime_error("the survey file did not load completely");
    }
    return {elapsed.count(), cpu};
}

void print_times(const char* what, std::int64_t lines, const std::vector<Timing>& times) {
    std::vector<double> walls;
    std::vector<double> cpus;
    for (const Timing& t : times) {
        walls.push_back(t.wall);
        cpus.push_back(t.cpu);
    }
    const double middle = vesk::bench::median(walls);
    std::printf("import %8lld lines, %-24s median %.3f s of %d (%.0f lines/s), cpu %.3f s; runs:",
                static_cast<long long>(lines), what, middle, runs,
                static_cast<double>(lines) / middle, vesk::bench::median(cpus));
    for (const double t : walls) {
        std::printf(" %.3f", t);
    }
    std::printf("\n");
    std::fflush(stdout);
}

// Every run on a database file that holds only the layout.
void time_fresh_imports(const std::string& folder, const std::string& file, std::int64_t lines) {
    const std::string db_path = folder + "/bench_import.db";
    std::vector<Timing> times;
    for (int run = 0; run < runs; ++run) {
        remove_database(db_path);
        AppState state{Database::open(db_path)};
        vesk::bench::prepare_survey_load(state, file);
        times.push_back(time_load(state));
    }
    remove_database(db_path);
    print_times("into a new database:", lines, times);
}

// Every run replaces the table data the run before loaded, as a user's second load does.
void time_replacing_imports(const std::string& folder, const std::string& file,
                            std::int64_t lines) {
    const std::string db_path = folder + "/bench_import.db";
    remove_database(db_path);
    AppState state{Database::open(db_path)};
    vesk::bench::load_survey(state, file);
    std::vector<Timing> times;
    for (int run = 0; run < runs; ++run) {
        times.push_back(time_load(state));
    }
    remove_database(db_path);
    print_times("replacing loaded data:", lines, times);
}

// Peak resident memory of a fresh process that imports the file into a new database.
long peak_memory_kib(const std::string& folder, const std::string& file) {
    const std::string db_path = folder + "/bench_import_memory.db";
    remove_database(db_path);
    const long peak = vesk::bench::child_peak_memory_kib(
        {"bench_import", "--import-once", db_path, file}, "import");
    remove_database(db_path);
    return peak;
}

int import_once(const std::string& db_path, const std::string& file) {
    AppState state{Database::open(db_path)};
    vesk::bench::load_survey(state, file);
    return 0;
}

int measure(const std::string& folder) {
    const std::int64_t large = vesk::bench::default_survey_lines;
    const std::int64_t small = large / 10;
    const std::string large_file = vesk::bench::ensure_survey_file(folder, large);
    const std::string small_file = vesk::bench::ensure_survey_file(folder, small);

    time_fresh_imports(folder, large_file, large);
    time_replacing_imports(folder, large_file, large);
    time_fresh_imports(folder, small_file, small);
    std::printf("import %8lld lines, peak memory of the importing process: %.1f MB\n",
                static_cast<long long>(large),
                static_cast<double>(peak_memory_kib(folder, large_file)) / 1024.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return vesk::bench::benchmark_main(argc, argv, "bench_import", "--import-once", import_once,
                                       measure);
}
