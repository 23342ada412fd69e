#include "chitest/chi_classify.h"

#include <algorithm>

#include "chitest/chi_sql.h"
#include "core/error.h"
#include "core/groups.h"
#include "core/identifier.h"
#include "core/number_text.h"
#include "runtest/field_value.h"

namespace vesk {

namespace {

void check_variable(const std::string& name, const char* role) {
    if (!is_valid_variable_name(name)) {
        throw Error(std::string("The ") + role + " \"" + name + "\" is not a defined variable");
    }
}

// One statement assigns every class in a single pass over data; a record that no class holds
// gets null, so nothing is left over from an earlier run.
void assign_classes(AppState& state) {
    const std::string& param = state.param_var;
    std::string sql = "update data set CLASS = case";
    for (std::size_t k = 0; k < state.class_defs.size(); ++k) {
        const auto& members = state.class_defs[k].members;
        sql += " when " + param + " in (" + placeholders(members.size()) + ")";
        // An empty value stands for null too, which no in-list matches.
        if (std::ranges::any_of(members, [](const std::string& m) { return m.empty(); })) {
            sql += " or " + param + " is null";
        }
        sql += " then " + std::to_string(k + 1);
    }
    sql += " else null end";

    try {
        auto update = state.db_conn.prepare(sql);
        int index = 1;
        for (const ClassDef& class_def : state.class_defs) {
            for (const std::string& member : class_def.members) {
                const auto number = class_def.type == "N" ? parse_number(member) : std::nullopt;
                if (number) {
                    update.bind(index++, *number);
                } else {
                    update.bind(index++, std::string_view(member));
                }
            }
        }
        update.run();
    } catch (const DbError& e) {
        throw Error(std::string("The classes could not be assigned: ") + e.what());
    }
}

// One row of data_chi per group and class: the grouped rows come ordered by group, class and
// sample value, so each group and class is one run of rows, summed by control break.
void build_frequency_table(AppState& state, const std::vector<GroupColumn>& columns) {
    Database& db = state.db_conn;
    db.try_execute("DROP TABLE data_chi");
    db.execute("create table data_chi (" + group_column_definitions(columns) +
               "CLASS double, frq1 double, frq2 double, frq double)");

    const std::string groups = column_list(columns);
    const std::string prefix = groups.empty() ? "" : groups + ", ";
    const std::string keys = prefix + "CLASS, " + state.sample_var;
    Statement query = prepare_step(
        db, "select " + keys + ", count(*) as cnt from data group by " + keys + " order by " + keys,
        "The frequency table could not be built");
    Statement insert =
        db.prepare("insert into data_chi (" + prefix + "CLASS,frq1,frq2,frq) values (" +
                   placeholders(columns.size() + 4) + ")");

    const std::size_t group_count = columns.size();
    const int class_column = static_cast<int>(group_count);
    const int sample_column = class_column + 1;
    const int cnt = query.column_index("cnt");

    std::vector<std::string> key(group_count + 1);  // the group values, then the class
    std::vector<std::string> current;
    std::int64_t central = 0;
    std::int64_t other = 0;
    auto flush = [&] {
        int index = 1;
        for (std::size_t i = 0; i < group_count; ++i) {
            bind_group_value(insert, index++, columns[i], current[i]);
        }
        if (const auto class_number = parse_number(current[group_count])) {
            insert.bind(index++, *class_number);
        } else {
            insert.bind_null(index++);
        }
        insert.bind(index, central);
        insert.bind(index + 1, other);
        insert.bind(index + 2, central + other);
        insert.run();
        insert.reset();
        central = other = 0;
    };

    while (query.step()) {
        for (std::size_t i = 0; i <= group_count; ++i) {
            key[i] = query.text(static_cast<int>(i));
        }
        if (!current.empty() && key != current) {
            flush();
        }
        current = key;
        const std::int64_t count = query.is_null(cnt) ? 0 : query.integer(cnt);
        (is_central(query, sample_column) ? central : other) += count;
    }
    if (!current.empty()) {
        flush();
    }
}

}  // namespace

void chi_classify(AppState& state) {
    if (state.class_defs.empty()) {
        throw Error("No Classes are formed");
    }
    check_variable(state.param_var, "parameter");
    check_variable(state.sample_var, "sample variable");
    const std::vector<GroupColumn> columns = checked_group_columns(state);
    assign_classes(state);
    build_frequency_table(state, columns);
}

}  // namespace vesk
