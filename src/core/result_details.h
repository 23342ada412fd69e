#pragma once

#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/result_stats.h"
#include "core/verdict.h"

namespace vesk {

// The files that go beside a result file: the per-group statistics (NAME_run_stats.csv or
// NAME_chi_stats.csv: the group columns, then the statistics, one row per group, under the same
// CSV rules as the result files) and the provenance (NAME_run.provenance.json or
// NAME_chi.provenance.json: program version, time, database, the input file and the import as
// the database recorded them when the data were loaded (path, size, SHA-256, modification time,
// the load counts and first rejections, layout, filter), groups, sample, parameter, classes, and
// the result files with their SHA-256; every path absolute). Each is written to a temporary file
// and renamed into place. Throws vesk::Error naming the path and the reason.

struct DetailFiles {
    std::string stats_path;
    std::string provenance_path;
    // The chi-square test's class cells, one line per group and class: counts, shares, expected
    // counts and residuals. Empty for the runs test.
    std::string cells_path;
};

// The files beside the result file: NAME_run_stats.csv and NAME_run.provenance.json, or
// NAME_chi_stats.csv, NAME_chi.provenance.json and NAME_chi_cells.csv.
DetailFiles default_detail_files(const AppState& state, TestKind kind);

// The statistics file the user named and the files beside it: the name without "_stats.csv" (or
// else without its extension) followed by ".provenance.json", and by "_cells.csv" for the
// chi-square test.
DetailFiles detail_files_for(const std::string& stats_path, TestKind kind);

// The flags are those of the groups under choices.
DetailFiles write_result_details(AppState& state, TestKind kind, const Choices& choices = {});
DetailFiles write_result_details(AppState& state, TestKind kind, const Choices& choices,
                                 const DetailFiles& files);

// The header of the statistics file, after the group columns.
std::vector<std::string> run_stats_columns();
std::vector<std::string> chi_stats_columns();
std::vector<std::string> chi_cells_columns();

}  // namespace vesk
