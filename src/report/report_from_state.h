#pragma once

#include <string>
#include <vector>

#include "core/app_state.h"
#include "report/report_data.h"

namespace vesk {

// The report of the last run of the test, from what the run left in the state and the database,
// marking the groups significant under choices. result_files are the files the run wrote (result
// file first); they are described, not changed.
ReportData report_data(AppState& state, TestKind kind, const Choices& choices,
                       const std::vector<std::string>& result_files);

// Path, size, SHA-256 and modification time of a file; the size and digest stay empty when it
// cannot be read.
ReportFile describe_file(const std::string& path);

}  // namespace vesk
