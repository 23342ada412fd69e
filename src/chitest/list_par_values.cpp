#include "chitest/list_par_values.h"

#include "core/error.h"
#include "core/identifier.h"

namespace vesk {

const VarDef* find_variable(const AppState& state, const std::string& name) {
    for (const VarDef& def : state.var_defs) {
        if (def.name == name) {
            return &def;
        }
    }
    return nullptr;
}

void list_par_values(AppState& state) {
    state.par_vals.clear();
    const VarDef* def = find_variable(state, state.param_var);
    if (def == nullptr || !is_valid_variable_name(state.param_var)) {
        throw Error("The parameter " + state.param_var + " is not a defined variable");
    }
    const std::string& name = state.param_var;
    auto query = state.db_conn.prepare("select " + name + ", count(*) as cnt from data group by " +
                                       name + " order by " + name);
    const int cnt = query.column_index("cnt");
    std::vector<ParValue> values;
    while (query.step()) {
        values.push_back(
            {query.text(0), query.is_null(cnt) ? 0 : query.integer(cnt), def->length, def->type});
    }
    state.par_vals = std::move(values);
}

}  // namespace vesk
