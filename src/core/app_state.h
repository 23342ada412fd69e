#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/database.h"
#include "core/load_summary.h"
#include "core/result_stats.h"

namespace vesk {

// One variable of the record layout, as read from table variable in ID order.
struct VarDef {
    std::string name;
    std::int64_t start = 0;  // 1 = first character of the line
    std::int64_t length = 0;
    std::string type;  // "C" character, "N" numeric
    std::string key;   // "Y" when part of the primary key
    // Implied decimals: a numeric field written without a point holds its number times 10^decimals.
    int decimals = 0;
};

// The record type a load keeps in a file of several: the lines whose field variable reads value.
struct RecordType {
    std::string variable;
    std::string value;

    bool operator==(const RecordType&) const = default;
};

// One distinct value of the test parameter with its number of records.
struct ParValue {
    std::string value;  // general form for numbers; "" for null or empty
    std::int64_t freq = 0;
    std::int64_t len = 0;  // declared length of the parameter variable
    std::string type;      // "C" or "N"
};

// One frozen class of parameter values; its class number is its position + 1.
struct ClassDef {
    std::string values;  // in-list text: 1,2,3 or 'AB','C '
    std::string type;    // "C" when values begins with a quote, else "N"
    // The member values as the parameter holds them (ParValue::value), in list order: what the
    // classification binds, since the in-list text is for reading only.
    std::vector<std::string> members;
};

// The state the windows and procedures share; the only channel between windows apart from the
// database tables. Start values are those the program starts with. Window references (the
// grid's record set, the table of windows) belong to the main window, not here, and input and
// output files are streams owned by the code that reads or writes them.
struct AppState {
    explicit AppState(Database db) : db_conn(std::move(db)) {}

    Database db_conn;

    std::string inp_file;
    std::string out_file;
    std::int64_t rec_len = 0;

    std::vector<VarDef> var_defs;
    std::string key_list;
    bool data_loaded = false;
    LoadSummary last_load;  // of the import that built the current table data

    bool filter_on = false;
    std::string filter_cond;
    // Set by the load command like filter_cond, read by the import: the record type kept, and
    // whether the line number is added as the key variable LINE_NO.
    std::optional<RecordType> record_type;
    bool line_key = false;

    std::string grp_vars;
    bool grp_frozen = false;
    std::vector<std::string> grp_names;

    std::string sample_var;
    std::string param_var;
    bool sample_set = false;
    bool param_set = false;

    std::vector<ParValue> par_vals;
    std::vector<ClassDef> class_defs;
    bool class_frozen = false;

    // Per group, of the last runs test and the last chi-square test, in group order.
    std::vector<RunGroupStats> run_stats;
    std::vector<ChiGroupStats> chi_stats;

    std::int64_t var_count() const { return static_cast<std::int64_t>(var_defs.size()); }
    std::int64_t grp_count() const { return static_cast<std::int64_t>(grp_names.size()); }
    std::int64_t par_val_count() const { return static_cast<std::int64_t>(par_vals.size()); }
    std::int64_t class_count() const { return static_cast<std::int64_t>(class_defs.size()); }
};

}  // namespace vesk
