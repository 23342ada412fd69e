#include "core/groups.h"

#include "core/number_text.h"
#include "core/text.h"

namespace vesk {

void split_grp_vars(AppState& state) {
    state.grp_names.clear();
    for (const std::string& piece : split(state.grp_vars, ',')) {
        state.grp_names.emplace_back(trim(piece));
    }
}

std::vector<GroupColumn> group_columns(const AppState& state) {
    std::vector<GroupColumn> columns;
    for (const std::string& group : state.grp_names) {
        for (const VarDef& def : state.var_defs) {
            if (trim(def.name) == group) {
                columns.push_back({def.name, def.type, def.length});
            }
        }
    }
    return columns;
}

std::string group_column_definitions(const std::vector<GroupColumn>& columns) {
    std::string text;
    for (const GroupColumn& column : columns) {
        text += column.name;
        if (column.type == "C") {
            text += " varchar(" + signed_form(static_cast<double>(column.length)) + "), ";
        } else if (column.type == "N") {
            text += " double, ";
        }
    }
    return text;
}

void bind_group_value(Statement& statement, int index, const GroupColumn& column,
                      const std::string& value) {
    if (column.type == "C") {
        statement.bind(index, std::string_view(value));
    } else if (const auto number = parse_number(value)) {
        statement.bind(index, *number);
    } else {
        statement.bind_null(index);
    }
}

}  // namespace vesk
