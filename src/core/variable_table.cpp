#include "core/variable_table.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/error.h"
#include "core/number_text.h"
#include "core/text.h"

namespace vesk {

namespace {

// Beyond this a double no longer holds every whole number exactly.
constexpr double largest_position = 1e15;

constexpr const char* columns_sql =
    " (ID integer primary key, VN varchar(10), ST integer, LEN integer, TYPE varchar(1), "
    "PKEY varchar(1), DEC integer)";

bool has_decimals_column(Database& db, const std::string& table) {
    const std::vector<std::string> columns = db.column_names(table);
    return std::any_of(columns.begin(), columns.end(),
                       [](const std::string& c) { return iequals(c, "DEC"); });
}

// A draft that could not be made (a file that cannot be written) reads as the loaded layout.
std::string table_name(Database& db, LayoutTable table) {
    return table == LayoutTable::draft && db.table_exists("variable_draft") ? "variable_draft"
                                                                            : "variable";
}

std::optional<std::string> text_field(const Statement& query, int column) {
    if (query.is_null(column)) {
        return std::nullopt;
    }
    return query.text(column);
}

// A fraction stored by an earlier version reads as the nearest whole number, as it is now stored.
std::optional<std::int64_t> integer_field(const Statement& query, int column) {
    if (query.is_null(column)) {
        return std::nullopt;
    }
    const double number = query.number(column);
    return std::abs(number) < largest_position ? std::llround(number) : query.integer(column);
}

void bind_text(Statement& statement, int index, const std::optional<std::string>& value) {
    if (value) {
        statement.bind(index, std::string_view(*value));
    } else {
        statement.bind_null(index);
    }
}

void bind_integer(Statement& statement, int index, const std::optional<std::int64_t>& value) {
    if (value) {
        statement.bind(index, *value);
    } else {
        statement.bind_null(index);
    }
}

void insert_or_replace(Statement& insert, const VariableRow& row) {
    insert.reset();
    insert.bind(1, row.id);
    bind_text(insert, 2, row.name);
    bind_integer(insert, 3, row.start);
    bind_integer(insert, 4, row.length);
    bind_text(insert, 5, row.type);
    bind_text(insert, 6, row.key);
    bind_integer(insert, 7, row.decimals);
    insert.run();
}

Statement prepare_store(Database& db, const std::string& table) {
    return db.prepare("insert or replace into " + table +
                      " (ID, VN, ST, LEN, TYPE, PKEY, DEC) values (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
}

void replace_rows(Database& db, const std::string& table, const std::vector<VariableRow>& rows) {
    db.execute("delete from " + table);
    auto insert = prepare_store(db, table);
    for (const VariableRow& row : rows) {
        insert_or_replace(insert, row);
    }
}

}  // namespace

int decimals_count(std::int64_t stored) {
    return static_cast<int>(std::clamp<std::int64_t>(stored, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

VariableRow variable_row(const VarDef& def) {
    return {0, def.name, def.start, def.length, def.type, def.key, def.decimals};
}

VarDef var_def_of(const VariableRow& row) {
    return VarDef{row.name.value_or(""),  row.start.value_or(0),
                  row.length.value_or(0), row.type.value_or(""),
                  row.key.value_or(""),   decimals_count(row.decimals.value_or(0))};
}

void create_variable_table(Database& db) {
    db.execute(std::string("create table if not exists variable") + columns_sql);
    if (!has_decimals_column(db, "variable")) {
        db.try_execute("alter table variable add column DEC integer");
    }
    if (!db.table_exists("variable_draft") &&
        db.try_execute(std::string("create table variable_draft") + columns_sql)) {
        db.try_execute(
            std::string("insert into variable_draft select ID, VN, ST, LEN, TYPE, PKEY, ") +
            (has_decimals_column(db, "variable") ? "DEC" : "null") + " from variable");
    }
}

std::vector<VariableRow> read_variable_rows(Database& db, LayoutTable table) {
    const std::string name = table_name(db, table);
    // A table made before DEC existed, in a file that cannot be written, holds no decimals.
    auto query = db.prepare(std::string("select ID, VN, ST, LEN, TYPE, PKEY, ") +
                            (has_decimals_column(db, name) ? "DEC" : "null") + " from " + name +
                            " order by ID");
    std::vector<VariableRow> rows;
    while (query.step()) {
        rows.push_back({query.integer(0), text_field(query, 1), integer_field(query, 2),
                        integer_field(query, 3), text_field(query, 4), text_field(query, 5),
                        integer_field(query, 6)});
    }
    return rows;
}

std::vector<VarDef> read_var_defs(Database& db, LayoutTable table) {
    std::vector<VarDef> defs;
    for (const VariableRow& row : read_variable_rows(db, table)) {
        defs.push_back(var_def_of(row));
    }
    return defs;
}

std::int64_t largest_variable_id(Database& db) {
    auto query = db.prepare("select max(ID) from " + table_name(db, LayoutTable::draft));
    return query.step() ? query.integer(0) : 0;
}

void store_variable_row(Database& db, const VariableRow& row) {
    auto insert = prepare_store(db, table_name(db, LayoutTable::draft));
    insert_or_replace(insert, row);
}

void delete_variable_row(Database& db, std::int64_t id) {
    auto remove =
        db.prepare("delete from " + table_name(db, LayoutTable::draft) + " where ID = ?1");
    remove.bind(1, id).run();
}

void replace_variable_rows(Database& db, std::vector<VariableRow> rows) {
    std::int64_t id = 0;
    for (VariableRow& row : rows) {
        row.id = ++id;
    }
    Transaction transaction(db);
    replace_rows(db, table_name(db, LayoutTable::draft), rows);
    transaction.commit();
}

void store_loaded_layout(Database& db, const std::vector<VariableRow>& rows) {
    replace_rows(db, "variable", rows);
    if (db.table_exists("variable_draft")) {
        replace_rows(db, "variable_draft", rows);
    }
}

void clear_variable_rows(Database& db) {
    Transaction transaction(db);
    db.execute("delete from variable");
    if (db.table_exists("variable_draft")) {
        db.execute("delete from variable_draft");
    }
    transaction.commit();
}

std::optional<std::int64_t> stored_position(std::string_view text) {
    if (trim(text).empty()) {
        return std::nullopt;
    }
    const auto number = parse_number(text);
    if (!number) {
        throw Error("\"" + std::string(text) + "\" is not a number");
    }
    if (!(std::abs(*number) < largest_position)) {
        throw Error("\"" + std::string(text) + "\" is too large for a position");
    }
    return std::llround(*number);
}

}  // namespace vesk
