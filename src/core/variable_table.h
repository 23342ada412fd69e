#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "core/database.h"

namespace vesk {

// Table variable, the record layout: every read and write of it goes through here, on db_conn.

// One row as stored; an absent field is null in the table.
struct VariableRow {
    std::int64_t id = 0;
    std::optional<std::string> name;
    std::optional<std::int64_t> start;
    std::optional<std::int64_t> length;
    std::optional<std::string> type;
    std::optional<std::string> key;
    std::optional<std::int64_t> decimals;  // blank means none: 0

    bool operator==(const VariableRow&) const = default;
};

// A stored decimals count as a definition holds it (saturated to int; check_layout refuses it).
int decimals_count(std::int64_t stored);

// The row that stores a definition; its ID is left to the caller.
VariableRow variable_row(const VarDef& def);

// Creates the empty table when the database does not have it yet, and adds the column DEC to a
// table made before it existed (left alone when the file cannot be written: it reads as 0).
void create_variable_table(Database& db);

// Every row in ID order.
std::vector<VariableRow> read_variable_rows(Database& db);

// The definitions in ID order; empty when the table has no row. Null fields read as "" (names,
// types, key flags) and 0 (start, length, decimals).
std::vector<VarDef> read_var_defs(Database& db);

std::int64_t largest_variable_id(Database& db);

// Inserts the row, or replaces the row with its ID.
void store_variable_row(Database& db, const VariableRow& row);
void delete_variable_row(Database& db, std::int64_t id);
void clear_variable_rows(Database& db);

// Replaces the whole table with these rows, numbered 1, 2, ... in order; all or nothing.
void replace_variable_rows(Database& db, std::vector<VariableRow> rows);

// A start, length or decimals count as the integer column holds it: the number rounded to the
// nearest whole number, halves away from zero (2.7 is 3, 1.6 is 2, 2.5 is 3). Nothing for blank
// text; throws vesk::Error for text that is not a number or a number no column could hold.
std::optional<std::int64_t> stored_position(std::string_view text);

}  // namespace vesk
