#include "support/data_table.h"

#include <cstdio>

#include "core/variable_table.h"

namespace vesk::testing {

void make_data(AppState& state, const std::vector<VarDef>& variables) {
    std::string columns;
    for (const VarDef& v : variables) {
        columns += v.name + (v.type == "C" ? " varchar(" + std::to_string(v.length) + "), "
                                           : std::string(" double, "));
    }
    state.db_conn.try_execute("drop table data");
    state.db_conn.execute("create table data (" + columns + "CLASS double)");
    state.var_defs = variables;
}

void add_rows(AppState& state, const std::string& values, int times) {
    std::string names;
    for (const VarDef& v : state.var_defs) {
        names += (names.empty() ? "" : ", ") + v.name;
    }
    Transaction transaction(state.db_conn);
    for (int i = 0; i < times; ++i) {
        state.db_conn.execute("insert into data (" + names + ") values " + values);
    }
    transaction.commit();
}

std::vector<VarDef> four_variables() {
    return {{"HHID", 1, 3, "C", "Y"},
            {"STATE", 4, 2, "C", "N"},
            {"SEX", 6, 1, "N", "N"},
            {"AGE", 7, 3, "N", "N"}};
}

std::string household_person_file(int households) {
    std::string text;
    char line[64];
    for (int h = 1; h <= households; ++h) {
        const char* state = h % 2 ? "07" : "19";
        std::snprintf(line, sizeof line, "H%04d01%s%016d\n", h, state, h * 7);
        text += line;
        for (int p = 1; p <= 1 + h % 3; ++p) {
            std::snprintf(line, sizeof line, "P%04d%02d%s%d%03d%08d%011d\n", h, p, state,
                          1 + (h + p) % 2, 20 + (h * p) % 60, 1000 * h + 37 * p, 12345 + h);
            text += line;
        }
    }
    return text;
}

std::vector<VarDef> person_variables() {
    return {{"RECTYPE", 1, 1, "C", "N"},    {"HHID", 2, 4, "C", "Y"},
            {"PERSON", 6, 2, "N", "Y"},     {"STATE", 8, 2, "C", "N"},
            {"SAMPLE", 10, 1, "N", "N"},    {"AGE", 11, 3, "N", "N"},
            {"INCOME", 14, 8, "N", "N", 2}, {"WEIGHT", 22, 11, "N", "N", 4}};
}

void write_layout(Database& db, const std::vector<VarDef>& variables) {
    std::vector<VariableRow> rows;
    for (const VarDef& v : variables) {
        rows.push_back(variable_row(v));
    }
    replace_variable_rows(db, std::move(rows));
}

std::vector<std::string> rows(Database& db, const std::string& sql) {
    auto query = db.prepare(sql);
    std::vector<std::string> found;
    while (query.step()) {
        std::string row;
        for (int i = 0; i < query.column_count(); ++i) {
            row += (i > 0 ? "," : "") + (query.is_null(i) ? std::string("NULL") : query.text(i));
        }
        found.push_back(row);
    }
    return found;
}

}  // namespace vesk::testing
