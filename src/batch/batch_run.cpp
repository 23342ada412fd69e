#include "batch/batch_run.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <optional>

#include "batch/batch_options.h"
#include "batch/class_arguments.h"
#include "chitest/chi_test.h"
#include "chitest/class_lines.h"
#include "chitest/list_par_values.h"
#include "chitest/suggest_classes.h"
#include "core/app_state.h"
#include "core/atomic_file.h"
#include "core/default_database.h"
#include "core/error.h"
#include "core/file_input.h"
#include "core/find_variable.h"
#include "core/load_provenance.h"
#include "core/result_details.h"
#include "core/text.h"
#include "core/variable_table.h"
#include "core/write_failure.h"
#include "layout/layout_csv.h"
#include "layout/layout_file.h"
#include "layout/layout_import.h"
#include "load/data_filter.h"
#include "load/filter_hint.h"
#include "load/load_data.h"
#include "load/load_report.h"
#include "load/record_layout.h"
#include "report/report_from_state.h"
#include "report_print/report_writer.h"
#include "runtest/runs_test.h"

namespace vesk {

namespace {

// The layout file's variables, numbered from 1, each cell checked as the grid checks it when
// the cursor leaves a row, against the record length of the input file: with a record type, the
// load checks the positions against the first line of that type instead. A variable the grid
// would refuse stops the run: a layout with a variable missing would load other data than the
// user asked for.
std::vector<VariableRow> layout_file_rows(const AppState& state, const BatchOptions& options,
                                          std::ostream& err) {
    const LayoutSource source = read_layout_file(options.layout);
    std::optional<std::string> type_value;
    std::int64_t rec_len = state.rec_len;
    if (options.record_type) {
        type_value = options.record_type->value;
        rec_len = std::numeric_limits<std::int64_t>::max();
    }
    const ImportedLayout layout =
        import_layout(source, {options.vars, options.keys, type_value}, rec_len);
    if (!layout.refused.empty()) {
        throw Error(import_report(layout, options.layout));
    }
    for (const std::string& note : layout.renamed) {
        err << note << '\n';
    }
    std::vector<VariableRow> rows = variable_rows(layout);
    std::int64_t id = 0;
    for (VariableRow& row : rows) {
        row.id = ++id;
    }
    return rows;
}

// Loads the input as the load command of the main window does, in the same pass that gave the
// record length, with the layout file's rows or else the layout in the database, and tells what
// it did on err: standard output carries only the command's own output.
void load_input(AppState& state, const BatchOptions& options, LineReader& reader,
                std::ostream& err) {
    std::vector<VariableRow> layout = options.layout.empty()
                                          ? read_variable_rows(state.db_conn, LayoutTable::draft)
                                          : layout_file_rows(state, options, err);
    // The line-number key is a variable too.
    if (layout.size() + (options.line_key ? 1 : 0) < static_cast<std::size_t>(min_var_count)) {
        throw Error(with_newlines(too_few_variables_text));
    }
    state.record_type = options.record_type;
    state.line_key = options.line_key;
    std::vector<VarDef> defs;
    for (const VariableRow& row : layout) {
        defs.push_back(var_def_of(row));
    }
    state.filter_cond = filter_cond_for(options.filter.value_or(""));
    // Nobody is there to ask whether an empty table may replace the loaded data: it may not.
    std::string emptied;
    const auto keep_loaded_data = [&](const LoadSummary& loaded) {
        emptied = empty_filter_text(loaded.lines_loaded, defs, options.filter.value_or("")) + "\n";
        return false;
    };
    LoadSummary summary;
    try {
        summary = load_data(state, reader, std::move(layout), {}, keep_loaded_data);
    } catch (const LoadCancelled& e) {
        throw Error(emptied + e.what());
    }
    err << load_report(summary) << '\n';
    if (summary.key_missing) {
        err << no_key_text << '\n';
    }
}

// Without an input file the command works on the data a window or an earlier run loaded.
void use_loaded_data(AppState& state) {
    state.var_defs = read_var_defs(state.db_conn, LayoutTable::loaded);
    if (!state.db_conn.table_exists("data")) {
        throw Error("No data are loaded in " + state.db_conn.path() +
                    ": give --layout and --input, or load the data in vesk first.");
    }
    check_layout(state.var_defs);
    const std::optional<LoadProvenance> loaded = read_load_provenance(state.db_conn);
    if (loaded && loaded->line_key) {
        state.var_defs.push_back(line_key_variable(loaded->lines_read));
    }
    state.key_list = key_list_of(state.var_defs);
    state.data_loaded = !state.key_list.empty() && state.var_count() >= min_var_count;
}

void require_variable(const AppState& state, const std::string& name, const char* role) {
    if (!find_variable(state, name)) {
        throw Error("The " + std::string(role) + " " + name + " is not a defined variable.");
    }
}

void prepare_test(AppState& state, const BatchOptions& options) {
    if (!state.data_loaded) {
        throw Error("Either Variables or Data Groupining not defined");
    }
    for (const std::string& group : options.groups) {
        require_variable(state, group, "group variable");
    }
    require_variable(state, options.sample, "sample variable");
    require_variable(state, options.param, "parameter variable");
    state.grp_vars = join(options.groups, ", ");
    state.grp_frozen = true;
    state.sample_var = options.sample;
    state.sample_set = true;
    state.param_var = options.param;
    state.param_set = true;
    state.out_file = options.out;
}

void report(AppState& state, const BatchOptions& options, TestKind kind, const ResultFile& result,
            std::ostream& out, std::ostream& err) {
    if (!result.note.empty()) {
        err << "warning: " << result.note << '\n';
    }
    if (result.rows > 0) {
        out << result_file_message(result) << '\n';
    }
    std::vector<std::string> written = {result.path};
    if (options.details) {
        const DetailFiles files = write_result_details(state, kind);
        out << "Statistics per group in file: " << files.stats_path << '\n';
        written.push_back(files.stats_path);
        if (!files.cells_path.empty()) {
            out << "Class cells in file: " << files.cells_path << '\n';
            written.push_back(files.cells_path);
        }
        out << "Provenance in file: " << files.provenance_path << '\n';
        written.push_back(files.provenance_path);
    }
    if (!options.report.empty()) {
        write_report(options.report, report_data(state, kind, Choices{}, written));
        out << "Report in file: " << options.report << '\n';
    }
}

// Lists the parameter's values and suggests classes of them; the groups left out are named on
// err.
ClassScheme suggested_classes(AppState& state, const BatchOptions& options, std::ostream& err) {
    list_par_values(state);
    const double min_expected = options.min_expected.value_or(default_min_expected);
    ClassSuggestion suggestion = suggest_classes(state, min_expected);
    for (const LeftOutGroup& group : suggestion.left_out) {
        err << left_out_text(group, min_expected) << '\n';
    }
    if (suggestion.joined_from > 0) {
        err << joined_text(suggestion) << '\n';
    }
    return std::move(suggestion.scheme);
}

Database open_database(const BatchOptions& options) {
    try {
        return Database::open(options.db.empty() ? default_database_path() : options.db);
    } catch (const DbError& e) {
        throw Error(e.what());  // a file that is no database is the user's to mend
    }
}

void export_layout(AppState& state, const BatchOptions& options, std::ostream& out) {
    if (options.export_file.empty()) {
        write_layout_csv(state.db_conn, out);
        return;
    }
    AtomicFile file(options.export_file);
    write_layout_csv(state.db_conn, file.stream());
    file.commit();
}

// The data a command works on: the input loaded now, or else the data loaded before.
void take_data(AppState& state, const BatchOptions& options, std::ostream& err) {
    if (options.input.empty()) {
        use_loaded_data(state);
        return;
    }
    // One pass over the input: a pipe or standard input cannot be opened a second time.
    LineReader reader =
        options.input == "-" ? LineReader::standard_input() : LineReader(options.input);
    state.inp_file = options.input;
    state.rec_len = record_length(reader);
    load_input(state, options, reader, err);
}

// The classes of the chi-square test: suggested, or given with --class.
std::vector<ClassDef> chosen_classes(AppState& state, const BatchOptions& options,
                                     std::ostream& err) {
    if (options.suggest_classes) {
        return suggested_classes(state, options, err).class_defs(state.par_vals);
    }
    list_par_values(state);
    const ClassArguments classes = match_class_arguments(options.classes, state.par_vals);
    for (const std::string& warning : classes.warnings) {
        err << "warning: " << warning << '\n';
    }
    return classes.scheme.class_defs(state.par_vals);
}

void print_values(AppState& state, const BatchOptions& options, std::ostream& out) {
    require_variable(state, options.param, "parameter variable");
    state.param_var = options.param;
    list_par_values(state);
    const VarDef* param = find_variable(state, options.param);
    out << value_heading(state.param_var, param->length) << '\n';
    for (const ParValue& value : state.par_vals) {
        out << value_line(value) << '\n';
    }
}

void run_command(const BatchOptions& options, std::ostream& out, std::ostream& err) {
    using Command = BatchOptions::Command;
    AppState state(open_database(options));
    if (options.command == Command::layout_export) {
        export_layout(state, options, out);
        return;
    }
    take_data(state, options, err);
    switch (options.command) {
        case Command::runtest:
            prepare_test(state, options);
            report(state, options, TestKind::runs, run_runs_test(state), out, err);
            break;
        case Command::chitest:
            prepare_test(state, options);
            state.class_defs = chosen_classes(state, options, err);
            state.class_frozen = true;
            report(state, options, TestKind::chi_square, run_chi_test(state), out, err);
            break;
        case Command::suggest: {
            prepare_test(state, options);
            const ClassScheme scheme = suggested_classes(state, options, err);
            for (std::size_t k = 0; k < scheme.classes().size(); ++k) {
                out << class_argument(scheme.members(k, state.par_vals)) << '\n';
            }
            break;
        }
        case Command::values:
            print_values(state, options, out);
            break;
        default:
            break;
    }
}

}  // namespace

int run_batch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        const BatchOptions options = parse_batch_options(args);
        if (options.command == BatchOptions::Command::help) {
            out << batch_usage();
            return exit_success;
        }
        if (options.command == BatchOptions::Command::version) {
            out << "vesk-batch " << VESK_VERSION << '\n';
            return exit_success;
        }
        run_command(options, out, err);
        // What could not be written is lost: a full disk or a closed pipe is no success.
        errno = 0;
        if (!out.flush()) {
            throw write_failure("to standard output", errno != 0 ? errno : EIO);
        }
        return exit_success;
    } catch (const DiskFull& e) {
        err << e.what() << '\n';  // room to make, as for a result file that cannot be written
        return exit_user_error;
    } catch (const DbError& e) {
        err << "vesk-batch: " << e.what() << '\n';
        return exit_failure;
    } catch (const Error& e) {
        err << e.what() << '\n';
        return exit_user_error;
    } catch (const std::exception& e) {
        err << "vesk-batch: " << e.what() << '\n';
        return exit_failure;
    }
}

}  // namespace vesk
