#pragma once

#include <cstdint>
#include <functional>

#include "core/app_state.h"
#include "core/error.h"
#include "core/line_reader.h"
#include "core/load_summary.h"
#include "core/variable_table.h"

namespace vesk {

// The load command needs a group variable, a key, a sample and a parameter at the least.
inline constexpr std::int64_t min_var_count = 4;
inline constexpr const char* too_few_variables_text =
    "Minimum of 4 variables should be defined\rGroup var, primary key, sample and parameter";
inline constexpr const char* no_key_text = "primary keys not defined";

// Told how far the import has got: bytes of the input file read so far and the file's size.
// Returning false cancels the import.
using LoadProgress = std::function<bool(std::uint64_t bytes_read, std::uint64_t file_size)>;

// The import was cancelled through the progress callback, or the user kept the data loaded
// before; nothing was changed.
class LoadCancelled : public Error {
  public:
    LoadCancelled() : Error("The import was cancelled; the data loaded before are kept.") {}
    explicit LoadCancelled(const std::string& what) : Error(what) {}
};

// Asked when the filter has removed every loaded row, before the empty table replaces the data
// loaded before; false keeps them.
using ConfirmEmpty = std::function<bool(const LoadSummary& summary)>;

// Rebuilds table data from a record layout and the fixed-width file inp_file: one column per
// variable and CLASS, the key variables as primary key, one row per accepted line, then the rows
// failing filter_cond deleted. The layout is the draft of table variable (see
// variable_table.h), or the rows given; it becomes the loaded layout in the same transaction
// (when it has no row, var_defs is loaded again). Sets var_defs, key_list, last_load and
// data_loaded (true when there is a key and at least four variables) and returns the summary.
//
// All of it is one transaction: when the file cannot be read, the layout or the filter is
// refused, no line is loaded, the database fails or the import is cancelled, it throws
// vesk::Error (LoadCancelled for a cancel) and tables data and variable, var_defs, key_list,
// last_load and data_loaded stay as they were. A line the data cannot take is left out and
// reported in the summary. When the filter leaves no row of those loaded, confirm_empty (when
// given) decides whether the empty table replaces the old one; a No throws LoadCancelled. Every
// byte is read in one pass, and the import records where its data came from (see
// load_provenance.h) in the same transaction.
LoadSummary load_data(AppState& state, const LoadProgress& progress = {},
                      const ConfirmEmpty& confirm_empty = {});

// The same, reading the lines of an input already opened (a pipe or standard input, whose first
// line may have been looked at for the record length) instead of opening inp_file.
LoadSummary load_data(AppState& state, LineReader& reader, const LoadProgress& progress = {},
                      const ConfirmEmpty& confirm_empty = {});

// The same with the rows of a layout file, which replace the draft only when the load succeeds.
LoadSummary load_data(AppState& state, LineReader& reader, std::vector<VariableRow> layout,
                      const LoadProgress& progress = {}, const ConfirmEmpty& confirm_empty = {});

}  // namespace vesk
