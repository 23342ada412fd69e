#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "core/verdict.h"

namespace vesk {

struct ResultFile {
    std::string path;       // result_file_name of the test
    std::int64_t rows = 0;  // data lines written
    // Said once for the whole run, beside the file: why every group lacks one sample (see
    // sample_rule_note); empty otherwise.
    std::string note;
};

// Writes the rows of a result table, in ascending order of the group variables, to the test's
// result file (NAME_run.csv, NAME_chi.csv): a header of the first grp_count column names followed
// by statistic_names, then every column of every row as text (numbers in the general form, null as
// nothing), joined by commas, each line ending with LF. An empty table gives an empty file. The
// file replaces an earlier one only once it is complete. Throws vesk::Error (naming the path or
// the failing query) and leaves an earlier file as it was.
ResultFile write_result_file(AppState& state, std::string_view table, TestKind kind,
                             const std::vector<std::string>& statistic_names);

// "Generated Test result in file: " and the path: the message that follows a result file with
// rows, from either test.
std::string result_file_message(const ResultFile& result);

}  // namespace vesk
