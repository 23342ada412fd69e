#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "core/database.h"

namespace vesk {

// The record layout, kept twice: the rows the grid edits and the next load reads (table
// variable_draft), and the rows the data in table data were loaded with (table variable), which
// change only in a load's transaction, together with the data. A refused load so leaves the data
// with their own layout while the grid keeps what was typed. Every read and write of either
// table goes through here, on db_conn.
enum class LayoutTable { draft, loaded };

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
// The definition a row gives: null fields read as "" (names, types, key flags) and 0 (start,
// length, decimals).
VarDef var_def_of(const VariableRow& row);

// Creates the empty tables when the database does not have them yet: a new draft starts as a
// copy of the loaded layout. Adds the column DEC to a table made before it existed. A file that
// cannot be written is left alone: a missing DEC reads as 0, a missing draft as the loaded layout.
void create_variable_table(Database& db);

// Every row in ID order.
std::vector<VariableRow> read_variable_rows(Database& db, LayoutTable table);

// The definitions in ID order; empty when the table has no row.
std::vector<VarDef> read_var_defs(Database& db, LayoutTable table);

// The draft, as the grid edits it row by row.
std::int64_t largest_variable_id(Database& db);
// Inserts the row, or replaces the row with its ID.
void store_variable_row(Database& db, const VariableRow& row);
void delete_variable_row(Database& db, std::int64_t id);

// Replaces the draft with these rows, numbered 1, 2, ... in order; all or nothing.
void replace_variable_rows(Database& db, std::vector<VariableRow> rows);

// Makes these rows, with their IDs, the loaded layout and the draft: for the load's own
// transaction, which the caller holds.
void store_loaded_layout(Database& db, const std::vector<VariableRow>& rows);

// Empties both tables.
void clear_variable_rows(Database& db);

// A start, length or decimals count as the integer column holds it: the number rounded to the
// nearest whole number, halves away from zero (2.7 is 3, 1.6 is 2, 2.5 is 3). Nothing for blank
// text; throws vesk::Error for text that is not a number or a number no column could hold.
std::optional<std::int64_t> stored_position(std::string_view text);

}  // namespace vesk
