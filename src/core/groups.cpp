#include "core/groups.h"

#include "core/error.h"
#include "core/identifier.h"
#include "core/number_text.h"
#include "core/text.h"

namespace vesk {

void split_grp_vars(AppState& state) {
    state.grp_names.clear();
    for (const std::string& piece : split(state.grp_vars, ',')) {
        state.grp_names.emplace_back(trim(piece));
    }
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

std::vector<GroupColumn> checked_group_columns(AppState& state) {
    split_grp_vars(state);
    std::vector<GroupColumn> columns;
    for (const std::string& group : state.grp_names) {
        std::vector<GroupColumn> found;
        for (const VarDef& def : state.var_defs) {
            if (trim(def.name) == group) {
                found.push_back({def.name, def.type, def.length});
            }
        }
        if (found.size() != 1 || !is_valid_variable_name(found.front().name)) {
            throw Error("The group variable \"" + group + "\" is not a defined variable");
        }
        columns.push_back(found.front());
    }
    return columns;
}

void refuse_group_name_clash(const std::vector<GroupColumn>& columns,
                             const std::vector<std::string>& table_columns,
                             const std::string& table) {
    for (const GroupColumn& column : columns) {
        for (const std::string& name : table_columns) {
            if (iequals(column.name, name)) {
                throw Error("The group variable " + column.name +
                            " has the name of a column of the result table " + table + " (" + name +
                            "): choose other group variables or rename the variable.");
            }
        }
    }
}

std::string column_list(const std::vector<GroupColumn>& columns) {
    std::string text;
    for (const GroupColumn& column : columns) {
        text += (text.empty() ? "" : ", ") + column.name;
    }
    return text;
}

}  // namespace vesk
