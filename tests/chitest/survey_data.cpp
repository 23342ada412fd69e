#include "survey_data.h"

#include "core/groups.h"

namespace vesk::testing {

namespace {

std::string declaration(const VarDef& def) {
    return def.name +
           (def.type == "C" ? " varchar(" + std::to_string(def.length) + ")" : " double");
}

void bind_value(Statement& statement, int index, const Value& value) {
    if (const auto* number = std::get_if<double>(&value)) {
        statement.bind(index, *number);
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        statement.bind(index, std::string_view(*text));
    } else {
        statement.bind_null(index);
    }
}

}  // namespace

void make_survey(AppState& state, const VarDef& sample, const VarDef& param) {
    state.var_defs = {{"STATE", 1, 2, "C", "N"}, {"SECTOR", 3, 1, "N", "N"}, sample, param};
    state.db_conn.try_execute("DROP TABLE data");
    state.db_conn.execute("create table data (STATE varchar(2), SECTOR double, " +
                          declaration(sample) + ", " + declaration(param) + ", CLASS double)");
    state.grp_vars = "STATE, SECTOR";
    split_grp_vars(state);
}

void add_records(AppState& state, const Value& state_code, double sector, const Value& sample,
                 const Value& param, int count) {
    Transaction transaction(state.db_conn);
    const VarDef& sample_def = state.var_defs[2];
    const VarDef& param_def = state.var_defs[3];
    auto insert = state.db_conn.prepare("insert into data (STATE, SECTOR, " + sample_def.name +
                                        ", " + param_def.name + ") values (?, ?, ?, ?)");
    for (int i = 0; i < count; ++i) {
        bind_value(insert, 1, state_code);
        insert.bind(2, sector);
        bind_value(insert, 3, sample);
        bind_value(insert, 4, param);
        insert.run();
        insert.reset();
    }
    transaction.commit();
}

}  // namespace vesk::testing
