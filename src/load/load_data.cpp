#include "load/load_data.h"

#include "core/file_input.h"
#include "core/load_provenance.h"
#include "core/pragma_scope.h"
#include "core/utc_time.h"
#include "load/data_filter.h"
#include "load/line_loader.h"
#include "load/load_report.h"
#include "load/parse_ahead.h"
#include "load/record_layout.h"
#include "load/record_type.h"

namespace vesk {

namespace {

// Progress is told every this many lines: often enough for a smooth bar, rarely enough to cost
// nothing.
constexpr std::int64_t progress_every = 8192;

void report_progress(const LoadProgress& progress, std::uint64_t bytes_read,
                     std::uint64_t file_size) {
    if (progress && !progress(bytes_read, file_size)) {
        throw LoadCancelled();
    }
}

// The previous table data is renamed and dropped only after the new one is full. Its pages then
// go to the free list without being copied into the journal, and the new rows fill pages that
// were free before the import, which need no journal either: replacing loaded data costs no more
// writing than a first load. Rolling back restores the table under its name.
constexpr const char* replaced_table = "vesk_replaced_data";

void set_previous_table_aside(Database& db) {
    db.execute(std::string("drop table if exists ") + replaced_table);
    if (db.table_exists("data")) {
        db.execute(std::string("alter table data rename to ") + replaced_table);
    }
}

void drop_previous_table(Database& db) {
    db.execute(std::string("drop table if exists ") + replaced_table);
}

void create_data_table(Database& db, const std::vector<VarDef>& defs, const std::string& key_list) {
    set_previous_table_aside(db);
    try {
        db.execute(create_data_sql(defs, key_list));
    } catch (const DbError& e) {
        throw Error(std::string("The table data cannot be created: ") + e.what());
    }
}

LoadProvenance provenance_of(LineReader& reader, const LoadSummary& summary,
                             const std::vector<VarDef>& defs, const std::string& filter_cond) {
    LoadProvenance p;
    p.loaded_at = utc_now_text();
    p.input_path = absolute_path(reader.path());
    p.input_size = static_cast<std::int64_t>(reader.bytes_read());
    p.input_sha256 = reader.sha256_hex();
    if (const auto modified = reader.modified()) {
        p.input_modified = utc_text(*modified);
    }
    p.lines_read = summary.lines_read;
    p.lines_loaded = summary.lines_loaded;
    p.lines_rejected = summary.lines_rejected;
    p.rows_filtered_out = summary.rows_filtered_out;
    for (const RejectedLine& rejected : summary.first_rejected) {
        p.first_rejected.push_back(rejected_line_text(rejected));
    }
    if (summary.filter_applied) {
        p.filter = filter_condition(filter_cond);
    }
    p.layout = defs;
    if (!summary.record_type.empty()) {
        p.record_type = summary.record_type;
    }
    p.lines_other_type = summary.lines_other_type;
    p.line_key = summary.line_key;
    p.byte_order_mark = summary.byte_order_mark;
    p.program_version = VESK_VERSION;
    return p;
}

LoadSummary import(AppState& state, LineReader& reader, std::vector<VariableRow> layout,
                   const LoadProgress& progress, const ConfirmEmpty& confirm_empty) {
    Database& db = state.db_conn;
    if (layout.empty()) {
        for (const VarDef& def : state.var_defs) {
            layout.push_back(variable_row(def));
            layout.back().id = static_cast<std::int64_t>(layout.size());
        }
    }
    std::vector<VarDef> defs;
    for (const VariableRow& row : layout) {
        defs.push_back(var_def_of(row));
    }
    check_layout(defs);
    std::vector<VarDef> table_defs = defs;
    if (state.line_key) {
        check_line_key_name(defs);
        table_defs.push_back(line_key_variable(0));
    }
    std::optional<RecordTypeFilter> record_type;
    if (state.record_type) {
        record_type.emplace(defs, *state.record_type);
    }
    const std::string key_list = key_list_of(table_defs);

    LoadSummary summary;
    summary.key_missing = key_list.empty();
    summary.record_type = record_type ? record_type_text(record_type->type()) : "";
    summary.line_key = state.line_key;
    // Dropping the previous table would otherwise overwrite all its pages with zeros first.
    const PragmaScope fast_delete(db, "secure_delete", "fast");
    Transaction transaction(db, Transaction::Lock::immediate);
    store_loaded_layout(db, layout);
    create_data_table(db, table_defs, key_list);
    std::optional<Statement> filter = prepare_filter(db, state.filter_cond);
    {
        LineLoader loader(db, defs, state.line_key);
        LineParser parser(defs, record_type ? &*record_type : nullptr);
        report_progress(progress, reader.bytes_read(), reader.file_size());
        ParseAhead lines(reader, parser);
        std::int64_t told = 0;
        while (const ParsedLines* parsed = lines.next()) {
            loader.load(*parsed, summary);
            if (summary.lines_read - told >= progress_every || parsed->last) {
                report_progress(progress, parsed->bytes_read, reader.file_size());
                told = summary.lines_read;
            }
        }
    }
    summary.byte_order_mark = reader.byte_order_mark();
    if (summary.lines_loaded == 0) {
        throw Error(nothing_loaded_report(summary, reader.path()));
    }
    if (filter) {
        filter->run();
        summary.filter_applied = true;
        summary.rows_filtered_out = db.changes();
        filter.reset();
        if (summary.rows_filtered_out == summary.lines_loaded && confirm_empty &&
            !confirm_empty(summary)) {
            throw LoadCancelled("Nothing was replaced; the data loaded before are kept.");
        }
    }
    drop_previous_table(db);
    store_load_provenance(db, provenance_of(reader, summary, defs, state.filter_cond));
    transaction.commit();

    if (state.line_key) {
        defs.push_back(line_key_variable(summary.lines_read));
    }
    state.var_defs = std::move(defs);
    state.key_list = key_list;
    state.last_load = summary;
    state.data_loaded = !key_list.empty() && state.var_count() >= min_var_count;
    return summary;
}

}  // namespace

LoadSummary load_data(AppState& state, const LoadProgress& progress,
                      const ConfirmEmpty& confirm_empty) {
    const bool was_loaded = state.data_loaded;
    state.data_loaded = false;
    LineReader reader = open_input(state);
    state.data_loaded = was_loaded;
    return load_data(state, reader, progress, confirm_empty);
}

LoadSummary load_data(AppState& state, LineReader& reader, const LoadProgress& progress,
                      const ConfirmEmpty& confirm_empty) {
    return load_data(state, reader, read_variable_rows(state.db_conn, LayoutTable::draft), progress,
                     confirm_empty);
}

LoadSummary load_data(AppState& state, LineReader& reader, std::vector<VariableRow> layout,
                      const LoadProgress& progress, const ConfirmEmpty& confirm_empty) {
    const bool was_loaded = state.data_loaded;
    try {
        state.data_loaded = false;
        return import(state, reader, std::move(layout), progress, confirm_empty);
    } catch (...) {
        // Nothing was replaced: the data loaded before can still be tested.
        state.data_loaded = was_loaded;
        throw;
    }
}

}  // namespace vesk
