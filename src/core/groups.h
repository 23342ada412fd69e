#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/app_state.h"

namespace vesk {

// Splits grp_vars ("STATE, SECTOR") into grp_names, each name trimmed. An empty grp_vars gives
// one empty name, as the tests' group handling expects.
void split_grp_vars(AppState& state);

// A group variable as the result tables declare it: every definition whose trimmed name equals a
// group name, in group order.
struct GroupColumn {
    std::string name;  // as stored in the definition
    std::string type;  // "C" or "N"
    std::int64_t length = 0;
};

// "STATE varchar( 2), SECTOR double, ": the group part of a result table's create statement.
std::string group_column_definitions(const std::vector<GroupColumn>& columns);

// Binds a group value read as text to parameter index: text for a character variable; for a
// numeric one the number, or null when the text is empty.
void bind_group_value(Statement& statement, int index, const GroupColumn& column,
                      const std::string& value);

// Splits grp_vars into grp_names and returns their columns, one defined variable per name in
// group order. Throws vesk::Error naming a group that is not exactly one defined variable with a
// plain name, so no query is built over an unknown or ambiguous column.
std::vector<GroupColumn> checked_group_columns(AppState& state);

// Throws vesk::Error before a result table is built when a group variable has the name of a
// column the table adds after the group columns (compared without regard to case, as the engine
// compares names): the table could not hold both.
void refuse_group_name_clash(const std::vector<GroupColumn>& columns,
                             const std::vector<std::string>& table_columns,
                             const std::string& table);

// The columns' names joined by ", ": the select list and ordering of a grouped query.
std::string column_list(const std::vector<GroupColumn>& columns);

}  // namespace vesk
