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

bool has_decimals_column(Database& db) {
    const std::vector<std::string> columns = db.column_names("variable");
    return std::any_of(columns.begin(), columns.end(),
                       [](const std::string& c) { return iequals(c, "DEC"); });
}

// A table made before DEC existed, in a file that cannot be written, reads as holding no
// decimals.
std::string select_rows_sql(Database& db) {
    return std::string("select ID, VN, ST, LEN, TYPE, PKEY, ") +
           (has_decimals_column(db) ? "DEC" : "null") + " from variable order by ID";
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

Statement prepare_store(Database& db) {
    return db.prepare(
        "insert or replace into variable (ID, VN, ST, LEN, TYPE, PKEY, DEC) "
        "values (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
}

}  // namespace

int decimals_count(std::int64_t stored) {
    return static_cast<int>(std::clamp<std::int64_t>(stored, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

VariableRow variable_row(const VarDef& def) {
    return {0, def.name, def.start, def.length, def.type, def.key, def.decimals};
}

void create_variable_table(Database& db) {
    db.execute(
        "create table if not exists variable (ID integer primary key, VN varchar(10), "
        "ST integer, LEN integer, TYPE varchar(1), PKEY varchar(1), DEC integer)");
    if (!has_decimals_column(db)) {
        db.try_execute("alter table variable add column DEC integer");
    }
}

std::vector<VariableRow> read_variable_rows(Database& db) {
    auto query = db.prepare(select_rows_sql(db));
    std::vector<VariableRow> rows;
    while (query.step()) {
        rows.push_back({query.integer(0), text_field(query, 1), integer_field(query, 2),
                        integer_field(query, 3), text_field(query, 4), text_field(query, 5),
                        integer_field(query, 6)});
    }
    return rows;
}

std::vector<VarDef> read_var_defs(Database& db) {
    std::vector<VarDef> defs;
    for (const VariableRow& row : read_variable_rows(db)) {
        defs.push_back(VarDef{row.name.value_or(""), row.start.value_or(0), row.length.value_or(0),
                              row.type.value_or(""), row.key.value_or(""),
                              decimals_count(row.decimals.value_or(0))});
    }
    return defs;
}

std::int64_t largest_variable_id(Database& db) {
    auto query = db.prepare("select max(ID) from variable");
    return query.step() ? query.integer(0) : 0;
}

void store_variable_row(Database& db, const VariableRow& row) {
    auto insert = prepare_store(db);
    insert_or_replace(insert, row);
}

void delete_variable_row(Database& db, std::int64_t id) {
    auto remove = db.prepare("delete from variable where ID = ?1");
    remove.bind(1, id).run();
}

void clear_variable_rows(Database& db) {
    db.execute("delete from variable");
}

void replace_variable_rows(Database& db, std::vector<VariableRow> rows) {
    Transaction transaction(db);
    clear_variable_rows(db);
    auto insert = prepare_store(db);
    std::int64_t id = 0;
    for (VariableRow& row : rows) {
        row.id = ++id;
        insert_or_replace(insert, row);
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
