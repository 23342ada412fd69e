#include "chitest/chi_table.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>

#include "chitest/chi_statistics.h"
#include "chitest/pearson_statistic.h"
#include "core/field_value.h"
#include "core/groups.h"
#include "core/multiple_testing.h"
#include "core/sql_step.h"
#include "core/text.h"

namespace vesk {

namespace {

// The columns of data_chitable after the group columns, in the order chi_table binds them: the
// totals frq1, frq2 and frq, the class cells frq1_1 ... frq1_m, frq2_1 ... frq2_m, frq_1 ...
// frq_m, then df and chival.
std::vector<std::string> chitable_columns(std::int64_t m) {
    std::vector<std::string> names = {"frq1", "frq2", "frq"};
    for (const char* kind : {"frq1_", "frq2_", "frq_"}) {
        for (std::int64_t k = 1; k <= m; ++k) {
            names.push_back(kind + std::to_string(k));
        }
    }
    names.insert(names.end(), {"df", "chival"});
    return names;
}

// The class cells of one group as read from data_chi; a class without a row stays 0.
struct GroupCells {
    explicit GroupCells(std::size_t m) : central(m, 0), other(m, 0), both(m, 0) {}
    void clear() {
        for (auto* cells : {&central, &other, &both}) {
            std::fill(cells->begin(), cells->end(), 0);
        }
    }
    std::vector<double> central;
    std::vector<double> other;
    std::vector<double> both;
};

double sum(const std::vector<double>& cells) {
    double total = 0;
    for (double cell : cells) {
        total += cell;
    }
    return total;
}

// Creates data_chitable with the group columns and the added ones; the insert of one group's row.
Statement create_chitable(Database& db, const std::vector<GroupColumn>& columns,
                          const std::vector<std::string>& added) {
    std::vector<std::string> definitions;
    for (const std::string& name : added) {
        definitions.push_back(name + " double");
    }
    db.try_execute("DROP TABLE data_chitable");
    db.execute("create table data_chitable (" + group_column_definitions(columns) +
               join(definitions, ", ") + ")");
    const std::string groups = column_list(columns);
    return db.prepare("insert into data_chitable (" + (groups.empty() ? "" : groups + ", ") +
                      join(added, ",") + ") values (" +
                      placeholders(columns.size() + added.size()) + ")");
}

// Stores a group's row of data_chitable, its values as stored in data_chi; returns its chisqval.
double store_group_row(Statement& insert, const std::vector<GroupColumn>& columns,
                       const std::vector<FieldValue>& stored, const GroupCells& group) {
    int index = 1;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        stored[i].bind_group(insert, index++, columns[i]);
    }
    for (const auto* kind : {&group.central, &group.other, &group.both}) {
        insert.bind(index++, sum(*kind));
    }
    for (const auto* kind : {&group.central, &group.other, &group.both}) {
        for (double cell : *kind) {
            insert.bind(index++, cell);
        }
    }
    insert.bind(index++, static_cast<double>(group.central.size()) - 1);
    const double x = chisqval(group.central, group.other);
    if (std::isfinite(x)) {
        insert.bind(index, x);
    } else {
        insert.bind_null(index);
    }
    insert.run();
    insert.reset();
    return x;
}

}  // namespace

void refuse_what_chi_tables_cannot_hold(AppState& state) {
    if (state.class_defs.empty()) {
        return;  // chi_classify says so
    }
    const std::vector<GroupColumn> columns = checked_group_columns(state);
    refuse_group_name_clash(columns, {"CLASS", "frq1", "frq2", "frq"}, "data_chi");
    const std::int64_t m = state.class_count();
    const std::int64_t limit = sqlite3_limit(state.db_conn.handle(), SQLITE_LIMIT_COLUMN, -1);
    const std::int64_t most = most_chi_classes(state.db_conn, columns.size());
    if (m > most) {
        throw Error("There are " + std::to_string(m) + " classes: at most " + std::to_string(most) +
                    " are allowed with " + std::to_string(columns.size()) +
                    " group variable(s), as a table of the database holds at most " +
                    std::to_string(limit) + " columns and each class takes three.");
    }
    refuse_group_name_clash(columns, chitable_columns(m), "data_chitable");
}

std::int64_t most_chi_classes(Database& db, std::size_t group_count) {
    // data_chitable: the groups, the columns of no class, three cells a class.
    const auto fixed = static_cast<std::int64_t>(group_count + chitable_columns(0).size());
    const std::int64_t limit = sqlite3_limit(db.handle(), SQLITE_LIMIT_COLUMN, -1);
    return std::max<std::int64_t>(0, (limit - fixed) / 3);
}

void chi_table(AppState& state) {
    Database& db = state.db_conn;
    const std::vector<GroupColumn> columns = checked_group_columns(state);
    const std::size_t group_count = columns.size();
    const std::int64_t m = state.class_count();
    Statement insert = create_chitable(db, columns, chitable_columns(m));
    const std::string groups = column_list(columns);
    const std::string prefix = groups.empty() ? "" : groups + ", ";
    Statement query = prepare_step(
        db, "select " + prefix + "CLASS,frq1,frq2,frq from data_chi order by " + prefix + "CLASS",
        "The contingency table could not be built");

    const int class_column = static_cast<int>(group_count);
    const int frq1 = query.column_index("frq1");
    const int frq2 = query.column_index("frq2");
    const int frq = query.column_index("frq");
    const auto number_or_zero = [&](int column) {
        return query.is_null_or_empty(column) ? 0.0 : query.number(column);
    };

    std::vector<ChiGroupStats> stats;
    GroupCells group(static_cast<std::size_t>(m));
    std::vector<std::string> key(group_count);
    std::vector<std::string> current;
    std::vector<FieldValue> stored(group_count);  // the group values as stored, for binding
    bool started = false;
    auto flush = [&] {
        const double x = store_group_row(insert, columns, stored, group);
        stats.push_back(chi_group_stats(current, x, m - 1, group.central, group.other));
        group.clear();
    };

    while (query.step()) {
        for (std::size_t i = 0; i < group_count; ++i) {
            key[i] = query.text(static_cast<int>(i));
        }
        if (started && key != current) {
            flush();
        }
        if (!started || key != current) {
            for (std::size_t i = 0; i < group_count; ++i) {
                stored[i].assign(query, static_cast<int>(i));
            }
        }
        current = key;
        started = true;
        // A class outside 1 ... m (null: a value no class holds) has no cell. Rows of one group
        // text and class add up: group values that read alike make one group.
        const double k = number_or_zero(class_column);
        if (k >= 1 && k <= static_cast<double>(m) && k == std::floor(k)) {
            const auto cell = static_cast<std::size_t>(k) - 1;
            group.central[cell] += number_or_zero(frq1);
            group.other[cell] += number_or_zero(frq2);
            group.both[cell] += number_or_zero(frq);
        }
    }
    if (started) {
        flush();
    }
    adjust_across_groups(stats);
    state.chi_stats = std::move(stats);
}

}  // namespace vesk
