#pragma once

// A deterministic survey file for the benchmarks, and the way to load it.
//
// Every line has 80 characters and ends with CR LF; lines are in key order. The layout
// (survey_layout(), written into table variable by write_survey_layout()):
//
//   name      start length type key   holds
//   HHID          1     10   C    Y   household: STATE, SECTOR, DISTRICT, serial of 5 digits
//   PERSON       11      2   N    Y   person within the household, from 1
//   STATE        13      2   C        01 to 36
//   SECTOR       15      1   N        1 rural, 2 urban
//   DISTRICT     16      2   C        01 to 08
//   SAMPLE       18      1   N        1 central, 2 state (one sample per household)
//   AGE          19      3   N        0 to 99, blank padded
//   AGEGRP       22      1   N        1 to 7 (AGE / 15 + 1)
//   AMOUNT       23     12   N        decimal with two places, blank padded
//   (35 to 80: other survey items no variable covers)
//
// Among those other items, month_field (not in survey_layout(), so the import benchmark's
// figures stay comparable) is the month of the interview at 35, length 2: 1 to 12, a parameter
// with twelve values for the chi-square benchmark.
//
// Another benchmark loads it with:
//
//   const std::string file = vesk::bench::ensure_survey_file(folder);  // 1,000,000 lines
//   vesk::AppState state{vesk::Database::open(folder + "/my_bench.db")};
//   vesk::bench::load_survey(state, file);  // layout into variable, then load_data
//
// after which table data holds one row per line and group variables STATE, SECTOR, sample
// SAMPLE and parameters AGE, AGEGRP or AMOUNT are ready for the tests.

#include <cstdint>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/load_summary.h"

namespace vesk::bench {

inline constexpr std::int64_t default_survey_lines = 1'000'000;
inline constexpr std::int64_t survey_line_length = 80;

const std::vector<VarDef>& survey_layout();

inline const VarDef month_field{"MONTH", 35, 2, "N", "N"};

// Writes the file of the given number of lines; the same number always gives the same bytes.
void write_survey_file(const std::string& path, std::int64_t lines);

// The path of folder/survey_<lines>_v2.txt, written first when it is missing or incomplete.
std::string ensure_survey_file(const std::string& folder,
                               std::int64_t lines = default_survey_lines);

// Replaces the rows of table variable with the survey layout.
void write_survey_layout(Database& db);

// The layout in table variable, inp_file set to file, no filter: ready for load_data.
void prepare_survey_load(AppState& state, const std::string& file);

// Adds month_field to the layout in table variable, after the others.
void add_month_variable(Database& db);

// prepare_survey_load and load_data; throws when a line of the file was not loaded.
LoadSummary load_survey(AppState& state, const std::string& file);

}  // namespace vesk::bench
