#include "core/clear_vars.h"

#include "core/load_provenance.h"
#include "core/variable_table.h"

namespace vesk {

void clear_vars(AppState& state) {
    state.data_loaded = false;
    state.db_conn.try_execute("DROP TABLE data");
    clear_load_provenance(state.db_conn);
    try {
        clear_variable_rows(state.db_conn);
    } catch (const DbError&) {
        // The rows stay; the grid shows what the table holds.
    }
}

}  // namespace vesk
