#include "load/load_data.h"

#include "core/routines.h"
#include "load/data_filter.h"
#include "load/line_loader.h"
#include "load/record_layout.h"

namespace vesk {

namespace {

// Progress is told every this many lines: often enough for a smooth bar, rarely enough to cost
// nothing.
constexpr std::int64_t progress_every = 8192;

void report_progress(const LoadProgress& progress, const LineReader& reader) {
    if (progress && !progress(reader.bytes_read(), reader.file_size())) {
        throw LoadCancelled();
    }
}

void create_data_table(Database& db, const std::vector<VarDef>& defs, const std::string& key_list) {
    db.execute("drop table if exists data");
    try {
        db.execute(create_data_sql(defs, key_list));
    } catch (const DbError& e) {
        throw Error(std::string("The table data cannot be created: ") + e.what());
    }
}

}  // namespace

LoadSummary load_data(AppState& state, const LoadProgress& progress) {
    state.data_loaded = false;
    LineReader reader = open_input(state);
    Database& db = state.db_conn;
    std::vector<VarDef> defs = read_var_defs(db);
    if (defs.empty()) {
        defs = state.var_defs;
    }
    check_layout(defs);
    const std::string key_list = key_list_of(defs);

    LoadSummary summary;
    summary.key_missing = key_list.empty();
    Transaction transaction(db, Transaction::Lock::immediate);
    create_data_table(db, defs, key_list);
    std::optional<Statement> filter = prepare_filter(db, state.filter_cond);
    {
        LineLoader loader(db, defs);
        report_progress(progress, reader);
        std::string_view line;
        while (reader.next(line)) {
            loader.load(line, summary);
            if (summary.lines_read % progress_every == 0) {
                report_progress(progress, reader);
            }
        }
        report_progress(progress, reader);
    }
    if (filter) {
        filter->run();
        summary.filter_applied = true;
        summary.rows_filtered_out = db.changes();
        filter.reset();
    }
    transaction.commit();

    state.var_defs = std::move(defs);
    state.key_list = key_list;
    state.last_load = summary;
    state.data_loaded = !key_list.empty() && state.var_count() >= min_var_count;
    return summary;
}

}  // namespace vesk
