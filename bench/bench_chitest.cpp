// Chi-square speed and memory over the generated survey file of 1,000,000 lines: the value
// listing of the twelve-valued MONTH, then classification (twelve classes), contingency table
// and report grouped by STATE and SECTOR; the median of five runs, and the peak memory of one
// run in a process of its own.
//
//   bench_chitest DATA_FOLDER
//   bench_chitest --run-once DATABASE OUT_NAME   (the measured child process)

#include <sys/resource.h>

#include <algorithm>
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
#include "load/load_data.h"

namespace {

using vesk::AppState;
using vesk::Database;
using Clock = std::chrono::steady_clock;
using vesk::bench::median;

constexpr int runs = 5;

// The survey layout with MONTH, as the user would describe it in the grid.
std::vector<vesk::VarDef> layout() {
    std::vector<vesk::VarDef> defs = vesk::bench::survey_layout();
    defs.push_back(vesk::bench::month_field);
    return defs;
}

void load(AppState& state, const std::string& file) {
    vesk::bench::prepare_survey_load(state, file);
    const vesk::VarDef& month = vesk::bench::month_field;
    auto insert = state.db_conn.prepare(
        "insert into variable (ID, VN, ST, LEN, TYPE, PKEY) values "
        "((select max(ID) + 1 from variable), ?, ?, ?, ?, ?)");
    insert.bind(1, month.name).bind(2, month.start).bind(3, month.length);
    insert.bind(4, month.type).bind(5, month.key).run();
    const vesk::LoadSummary summary = vesk::load_data(state);
    if (summary.lines_rejected != 0 || !state.data_loaded) {
        throw std::runtime_error("the survey file did not load completely");
    }
}

void choose(AppState& state, const std::string& out_name) {
    state.var_defs = layout();
    state.grp_vars = "STATE, SECTOR";
    state.grp_frozen = true;
    state.sample_var = "SAMPLE";
    state.param_var = "MONTH";
    state.out_file = out_name;
}

struct Times {
    double listing = 0;
    double test = 0;
    double cpu = 0;  // user + system time of this process, which other load does not inflate
};

double cpu_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// What Proceed costs after the user listed the values and made one class of each.
Times run_once(AppState& state) {
    const double cpu_begin = cpu_seconds();
    const auto begin = Clock::now();
    vesk::list_par_values(state);
    const auto listed = Clock::now();
    if (state.par_val_count() != 12) {
        throw std::runtime_error("MONTH has " + std::to_string(state.par_val_count()) +
                                 " values, not 12");
    }
    state.class_defs.clear();
    for (const vesk::ParValue& value : state.par_vals) {
        state.class_defs.push_back(vesk::make_class({value}));
    }
    const vesk::ResultFile result = vesk::run_chi_test(state);
    const auto done = Clock::now();
    if (result.rows != 72) {
        throw std::runtime_error("the report holds " + std::to_string(result.rows) +
                                 " groups, not 72");
    }
    return {std::chrono::duration<double>(listed - begin).count(),
            std::chrono::duration<double>(done - listed).count(), cpu_seconds() - cpu_begin};
}

void remove_files(const std::string& db_path, const std::string& out_name) {
    vesk::bench::remove_database(db_path);
    std::filesystem::remove(out_name + "_chi.csv");
}

int measure(const std::string& folder) {
    const std::string file = vesk::bench::ensure_survey_file(folder);
    const std::string db_path = folder + "/bench_chitest.db";
    const std::string out_name = folder + "/bench_chitest";
    remove_files(db_path, out_name);
    {
        AppState state{Database::open(db_path)};
        load(state, file);
        choose(state, out_name);
        std::vector<double> listing;
        std::vector<double> test;
        std::vector<double> total;
        std::vector<double> cpu;
        for (int run = 0; run < runs; ++run) {
            const Times times = run_once(state);
            listing.push_back(times.listing);
            test.push_back(times.test);
            total.push_back(times.listing + times.test);
            cpu.push_back(times.cpu);
        }
        std::printf(
            "chitest %lld records, 12 classes, groups STATE, SECTOR: median of %d "
            "%.3f s (value listing %.3f s, classify + table + report %.3f s; "
            "cpu %.3f s; runs:",
            static_cast<long long>(vesk::bench::default_survey_lines), runs, median(total),
            median(listing), median(test), median(cpu));
        for (const double t : total) {
            std::printf(" %.3f", t);
        }
        std::printf(")\n");
        std::fflush(stdout);
    }
    std::printf("chitest %lld records, peak memory of a process listing and testing: %.1f MB\n",
                static_cast<long long>(vesk::bench::default_survey_lines),
                static_cast<double>(vesk::bench::child_peak_memory_kib(
                    {"bench_chitest", "--run-once", db_path, out_name}, "chi-square run")) /
                    1024.0);
    remove_files(db_path, out_name);
    return 0;
}

int measured_child(const std::string& db_path, const std::string& out_name) {
    AppState state{Database::open(db_path)};
    choose(state, out_name);
    run_once(state);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return vesk::bench::benchmark_main(argc, argv, "bench_chitest", "--run-once", measured_child,
                                       measure);
}
