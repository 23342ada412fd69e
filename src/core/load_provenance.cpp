#include "core/load_provenance.h"

#include <filesystem>

#include "core/text.h"
#include "core/variable_table.h"

namespace vesk {

namespace {

// Made anew by every load, so tables of an earlier version get the later columns.
void create_tables(Database& db) {
    db.execute("drop table if exists load_provenance");
    db.execute("drop table if exists load_provenance_layout");
    db.execute(
        "create table load_provenance (loaded_at text, input_path text, input_size integer, "
        "input_sha256 text, input_modified text, lines_read integer, lines_loaded integer, "
        "lines_rejected integer, rows_filtered_out integer, first_rejected text, filter text, "
        "program_version text, record_type text, lines_other_type integer, line_key integer, "
        "byte_order_mark integer)");
    db.execute(
        "create table load_provenance_layout (position integer primary key, VN text, "
        "ST integer, LEN integer, TYPE text, PKEY text, DEC integer)");
}

// A column of a later version, or null: select lists read by name with it.
std::string column_or_null(Database& db, const std::string& table, const std::string& column) {
    for (const std::string& name : db.column_names(table)) {
        if (iequals(name, column)) {
            return column;
        }
    }
    return "null as " + column;
}

Statement& bind_optional(Statement& statement, int index, const std::optional<std::string>& text) {
    return text ? statement.bind(index, std::string_view(*text)) : statement.bind_null(index);
}

std::optional<std::string> optional_text(const Statement& query, std::string_view column) {
    const int index = query.column_index(column);
    if (query.is_null(index)) {
        return std::nullopt;
    }
    return query.text(index);
}

}  // namespace

void store_load_provenance(Database& db, const LoadProvenance& p) {
    create_tables(db);
    auto insert = db.prepare(
        "insert into load_provenance (loaded_at, input_path, input_size, input_sha256, "
        "input_modified, lines_read, lines_loaded, lines_rejected, rows_filtered_out, "
        "first_rejected, filter, program_version, record_type, lines_other_type, line_key, "
        "byte_order_mark) "
        "values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16)");
    const std::string rejected = join(p.first_rejected, "\n");
    insert.bind(1, std::string_view(p.loaded_at)).bind(2, std::string_view(p.input_path));
    insert.bind(3, p.input_size).bind(4, std::string_view(p.input_sha256));
    bind_optional(insert, 5, p.input_modified);
    insert.bind(6, p.lines_read).bind(7, p.lines_loaded).bind(8, p.lines_rejected);
    insert.bind(9, p.rows_filtered_out).bind(10, std::string_view(rejected));
    bind_optional(insert, 11, p.filter);
    insert.bind(12, std::string_view(p.program_version));
    bind_optional(insert, 13, p.record_type);
    insert.bind(14, p.lines_other_type);
    insert.bind(15, std::int64_t{p.line_key}).bind(16, std::int64_t{p.byte_order_mark});
    insert.run();

    auto layout = db.prepare(
        "insert into load_provenance_layout (position, VN, ST, LEN, TYPE, PKEY, DEC) "
        "values (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    std::int64_t position = 0;
    for (const VarDef& def : p.layout) {
        layout.reset();
        layout.bind(1, ++position).bind(2, std::string_view(def.name)).bind(3, def.start);
        layout.bind(4, def.length).bind(5, std::string_view(def.type));
        layout.bind(6, std::string_view(def.key)).bind(7, std::int64_t{def.decimals}).run();
    }
}

std::optional<LoadProvenance> read_load_provenance(Database& db) {
    if (!db.table_exists("data") || !db.table_exists("load_provenance") ||
        !db.table_exists("load_provenance_layout")) {
        return std::nullopt;
    }
    const auto later = [&db](const char* column) {
        return ", " + column_or_null(db, "load_provenance", column);
    };
    auto query = db.prepare(
        "select loaded_at, input_path, input_size, input_sha256, input_modified, lines_read, "
        "lines_loaded, lines_rejected, rows_filtered_out, first_rejected, filter, "
        "program_version" +
        later("record_type") + later("lines_other_type") + later("line_key") +
        later("byte_order_mark") + " from load_provenance");
    if (!query.step()) {
        return std::nullopt;
    }
    LoadProvenance p;
    p.loaded_at = query.text("loaded_at");
    p.input_path = query.text("input_path");
    p.input_size = query.integer("input_size");
    p.input_sha256 = query.text("input_sha256");
    p.input_modified = optional_text(query, "input_modified");
    p.lines_read = query.integer("lines_read");
    p.lines_loaded = query.integer("lines_loaded");
    p.lines_rejected = query.integer("lines_rejected");
    p.rows_filtered_out = query.integer("rows_filtered_out");
    const std::string rejected = query.text("first_rejected");
    if (!rejected.empty()) {
        p.first_rejected = split(rejected, '\n');
    }
    p.filter = optional_text(query, "filter");
    p.program_version = query.text("program_version");
    p.record_type = optional_text(query, "record_type");
    p.lines_other_type = query.integer("lines_other_type");
    p.line_key = query.integer("line_key") != 0;
    p.byte_order_mark = query.integer("byte_order_mark") != 0;

    auto layout = db.prepare("select VN, ST, LEN, TYPE, PKEY, " +
                             column_or_null(db, "load_provenance_layout", "DEC") +
                             " from load_provenance_layout order by position");
    while (layout.step()) {
        p.layout.push_back(VarDef{layout.text("VN"), layout.integer("ST"), layout.integer("LEN"),
                                  layout.text("TYPE"), layout.text("PKEY"),
                                  decimals_count(layout.integer("DEC"))});
    }
    return p;
}

void clear_load_provenance(Database& db) noexcept {
    db.try_execute("delete from load_provenance");
    db.try_execute("delete from load_provenance_layout");
}

std::string absolute_path(const std::string& path) {
    if (path == "-" || path.empty()) {
        return path;
    }
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

}  // namespace vesk
