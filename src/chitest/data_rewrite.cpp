#include "chitest/data_rewrite.h"

#include "core/pragma_scope.h"
#include "core/text.h"

namespace vesk {

namespace {

constexpr const char* old_table = "vesk_rewritten_data";

std::string definition_of_data(Database& db) {
    Statement query =
        db.prepare("select sql from sqlite_master where type = 'table' and name = 'data'");
    if (!query.step()) {
        throw DbError("no such table: data");
    }
    return query.text(0);
}

// A column name as SQL text, whatever characters it holds.
std::string quoted_name(const std::string& name) {
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

}  // namespace

bool data_can_be_rewritten(Database& db) {
    // The index the engine makes for a table's own key has no definition; the table's does.
    Statement others = db.prepare(
        "select count(*) from sqlite_master where type in ('trigger', 'view') or "
        "(type = 'index' and tbl_name = 'data' and sql is not null)");
    return others.step() && others.integer(0) == 0;
}

void rewrite_data(Database& db, const std::string& column, const std::string& expression,
                  const std::function<void(Statement&)>& bind) {
    const std::string definition = definition_of_data(db);
    std::string targets;
    std::string values;
    for (const std::string& name : db.column_names("data")) {
        const std::string quoted = quoted_name(name);
        targets += (targets.empty() ? "" : ", ") + quoted;
        values += (values.empty() ? "" : ", ") + (iequals(name, column) ? expression : quoted);
    }
    db.execute(std::string("drop table if exists ") + old_table);
    db.execute(std::string("alter table data rename to ") + old_table);
    db.execute(definition);
    Statement copy =
        db.prepare("insert into data (" + targets + ") select " + values + " from " + old_table);
    bind(copy);
    copy.run();
    // The old pages go to the free list as they are, not overwritten with zeros through the
    // journal first.
    const PragmaScope fast_delete(db, "secure_delete", "fast");
    db.execute(std::string("drop table ") + old_table);
}

}  // namespace vesk
