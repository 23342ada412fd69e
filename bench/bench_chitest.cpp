// Chi-square speed and memory over the generated survey file of 1,000,000 lines: the value
// listing of the twelve-valued MONTH, then classification (twelve classes), contingency table
// and report grouped by STATE and SECTOR. A first run classifies records that have no class yet;
// a re-run changes the classes so that one month's records (one in twelve) move, as a user
// trying class schemes does. The median of five runs each, and the peak memory of one first run
// in a process of its own.
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
    vesk::bench::add_month_variable(state.db_conn);
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

double cpu_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Twelve classes, one per month; with merged, months 11 and 12 share the last but one and the
// last class holds nothing, so December's records move.
void use_classes(AppState& state, bool merged) {
    state.class_defs.clear();
    const std::size_t count = state.par_vals.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (merged && i + 2 == count) {
            state.class_defs.push_back(
                vesk::make_class({state.par_vals[i], state.par_vals[i + 1]}));
            state.class_defs.push_back(vesk::make_class({}));
            break;
        }
        state.class_defs.push_back(vesk::make_class({state.par_vals[i]}));
    }
}

void forget_classes(AppState& state) {
    state.db_conn.execute("update data set CLASS = null");
}

struct Timing {
    double wall = 0;
    double cpu = 0;
};

template <typename Work>
Timing timed(Work work) {
    const double cpu_begin = cpu_seconds();
    const auto begin = Clock::now();
    work();
    return {std::chrono::duration<double>(Clock::now() - begin).count(), cpu_seconds() - cpu_begin};
}

void list_values(AppState& state) {
    vesk::list_par_values(state);
    if (state.par_val_count() != 12) {
        throw std::runtime_error("MONTH has " + std::to_string(state.par_val_count()) +
                                 " values, not 12");
    }
}

void test(AppState& state) {
    const vesk::ResultFile result = vesk::run_chi_test(state);
    if (result.rows != 72) {
        throw std::runtime_error("the report holds " + std::to_string(result.rows) +
                                 " groups, not 72");
    }
}

void print(const char* what, const std::vector<Timing>& timings) {
    std::vector<double> walls;
    std::vector<double> cpus;
    for (const Timing& t : timings) {
        walls.push_back(t.wall);
        cpus.push_back(t.cpu);
    }
    std::printf("chitest %lld records, %-46s median of %d %.3f s, cpu %.3f s; runs:",
                static_cast<long long>(vesk::bench::default_survey_lines), what, runs,
                median(walls), median(cpus));
    for (const double t : walls) {
        std::printf(" %.3f", t);
    }
    std::printf("\n");
    std::fflush(stdout);
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
        std::vector<Timing> listing;
        std::vector<Timing> first;
        std::vector<Timing> again;
        for (int run = 0; run < runs; ++run) {
            listing.push_back(timed([&] { list_values(state); }));
        }
        for (int run = 0; run < runs; ++run) {
            forget_classes(state);
            use_classes(state, false);
            first.push_back(timed([&] { test(state); }));
        }
        for (int run = 0; run < runs; ++run) {
            use_classes(state, run % 2 == 0);
            again.push_back(timed([&] { test(state); }));
        }
        print("value listing:", listing);
        print("first run, classify + table + report:", first);
        print("re-run moving 1/12 of the records:", again);
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
    forget_classes(state);
    list_values(state);
    use_classes(state, false);
    test(state);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return vesk::bench::benchmark_main(argc, argv, "bench_chitest", "--run-once", measured_child,
                                       measure);
}
