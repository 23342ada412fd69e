#include "chitest/chi_classify.h"

#include <sqlite3.h>

#include <algorithm>
#include <tuple>
#include <unordered_map>

#include "chitest/data_rewrite.h"
#include "chitest/sample_tally.h"
#include "chitest/value_texts.h"
#include "core/error.h"
#include "core/groups.h"
#include "core/identifier.h"
#include "core/number_text.h"
#include "core/sql_step.h"

namespace vesk {

namespace {

// The class of a parameter value is the class of the text the value listing shows for it, so a
// number with more digits than the listing writes is classified with the line it is listed under.
class ClassLookup {
  public:
    explicit ClassLookup(const std::vector<ClassDef>& class_defs) {
        for (std::size_t k = 0; k < class_defs.size(); ++k) {
            for (const std::string& member : class_defs[k].members) {
                const auto number = class_defs[k].type == "N" ? parse_number(member) : std::nullopt;
                by_text_.try_emplace(number ? general_form(*number) : member, k + 1);
            }
        }
    }
    // 0 for a value no class holds.
    std::size_t class_of(const Cell& value) {
        const std::size_t id = texts_.id(value);
        if (id >= class_of_id_.size()) {
            class_of_id_.resize(id + 1, unknown);
        }
        if (class_of_id_[id] == unknown) {
            const auto found = by_text_.find(texts_.text(id));
            class_of_id_[id] = found == by_text_.end() ? 0 : found->second;
        }
        return class_of_id_[id];
    }

  private:
    static constexpr std::size_t unknown = static_cast<std::size_t>(-1);
    std::unordered_map<std::string, std::size_t> by_text_;
    TextIds texts_;
    std::vector<std::size_t> class_of_id_;
};

// What the engine's functions of one classification share.
struct Classification {
    ClassLookup classes;
    SampleTally tally;
    std::vector<Cell> group_values;
};

void set_class(sqlite3_context* context, std::size_t k) {
    if (k == 0) {
        sqlite3_result_null(context);
    } else {
        sqlite3_result_int64(context, static_cast<sqlite3_int64>(k));
    }
}

constexpr const char* classification_type = "vesk_classification";

// The classification a call works for: the statement binds it as its first parameter, so the
// functions hold no pointer of their own that could outlive it.
Classification* classification_of(sqlite3_context* context, sqlite3_value* bound) {
    auto* work = static_cast<Classification*>(sqlite3_value_pointer(bound, classification_type));
    if (work == nullptr) {
        sqlite3_result_error(context, "no classification is running", -1);
    }
    return work;
}

// vesk_class(?, parameter): the record's class number, null when no class holds its value.
void class_function(sqlite3_context* context, int, sqlite3_value** args) {
    Classification* work = classification_of(context, args[0]);
    if (work == nullptr) {
        return;
    }
    try {
        set_class(context, work->classes.class_of(cell_of(args[1])));
    } catch (const std::exception& e) {
        sqlite3_result_error(context, e.what(), -1);
    }
}

// vesk_tally(?, parameter, sample, group values ...): counts the record in its group, class and
// sample, and gives its class number as vesk_class does.
void tally_function(sqlite3_context* context, int count, sqlite3_value** args) {
    Classification* work = classification_of(context, args[0]);
    if (work == nullptr || count < 3) {
        return;
    }
    try {
        const std::size_t k = work->classes.class_of(cell_of(args[1]));
        auto& values = work->group_values;
        values.clear();
        for (int i = 3; i < count; ++i) {
            values.push_back(cell_of(args[i]));
        }
        work->tally.add(work->tally.group(values), k, is_central(cell_of(args[2])));
        set_class(context, k);
    } catch (const std::exception& e) {
        sqlite3_result_error(context, e.what(), -1);
    }
}

// The functions stay on the connection once made: the engine refuses to replace or remove a
// function while any statement is active, which it reports as busy; the definition is the same.
void register_functions(Database& db) {
    const int flags = SQLITE_UTF8 | SQLITE_DIRECTONLY;
    for (const auto& [name, arguments, function] :
         {std::tuple{"vesk_class", 2, &class_function},
          std::tuple{"vesk_tally", -1, &tally_function}}) {
        const int rc = sqlite3_create_function_v2(db.handle(), name, arguments, flags, nullptr,
                                                  function, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK && rc != SQLITE_BUSY) {
            throw Error(std::string("The classes could not be assigned: ") + sqlite3_errstr(rc));
        }
    }
}

// The records looked at to tell a first run, which gives every record its class, from a run that
// moves a few values: enough to tell, few enough to cost nothing.
constexpr int records_judged = 1024;

// True when more than half of the first records of data change class.
bool most_classes_change(Database& db, const std::string& param, Classification& work) {
    const std::string changed = "vesk_class(?1, " + param + ") is not CLASS";
    Statement judged =
        db.prepare("select count(*), coalesce(sum(" + changed + "), 0) from (select " + param +
                   ", CLASS from data limit " + std::to_string(records_judged) + ")");
    sqlite3_bind_pointer(judged.handle(), 1, &work, classification_type, nullptr);
    return judged.step() && 2 * judged.integer(1) > judged.integer(0);
}

// One pass over data both classifies and counts. Where few records change class (a second run
// with classes that move some values), an update rewrites only those; where most change, the
// table is written anew.
void classify_and_count(AppState& state, const std::vector<GroupColumn>& columns,
                        Classification& work) {
    Database& db = state.db_conn;
    const std::string& param = state.param_var;
    register_functions(db);
    prepare_step(db, "select " + param + " from data", "The classes could not be assigned");
    std::string tally = "vesk_tally(?1, " + param + ", " + state.sample_var;
    for (const GroupColumn& column : columns) {
        tally += ", " + column.name;
    }
    tally += ")";
    prepare_step(db, "select " + tally + " from data", "The frequency table could not be built");
    const auto bind_work = [&work](Statement& statement) {
        sqlite3_bind_pointer(statement.handle(), 1, &work, classification_type, nullptr);
    };
    try {
        if (data_can_be_rewritten(db) && most_classes_change(db, param, work)) {
            rewrite_data(db, "CLASS", tally, bind_work);
            return;
        }
        Statement update = db.prepare("update data set CLASS = vesk_class(?1, " + param +
                                      ") where " + tally + " is not CLASS");
        bind_work(update);
        update.run();
    } catch (const DbError& e) {
        throw Error(std::string("The classes could not be assigned: ") + e.what());
    }
}

// One row of data_chi per group and class that holds records, groups in the order of their values
// and classes ascending, records without a class first.
void write_frequency_table(AppState& state, const std::vector<GroupColumn>& columns,
                           const SampleTally& tally) {
    Database& db = state.db_conn;
    db.try_execute("DROP TABLE data_chi");
    db.execute("create table data_chi (" + group_column_definitions(columns) +
               "CLASS double, frq1 double, frq2 double, frq double)");
    const std::string groups = column_list(columns);
    Statement insert =
        db.prepare("insert into data_chi (" + groups + (groups.empty() ? "" : ", ") +
                   "CLASS,frq1,frq2,frq) values (" + placeholders(columns.size() + 4) + ")");
    for (const std::size_t group : tally.ordered_groups()) {
        const std::vector<std::string> texts = tally.group_texts(group);
        const std::vector<std::optional<double>> numbers = tally.group_numbers(group);
        const std::vector<SampleCounts>& counts = tally.counts(group);
        for (std::size_t k = 0; k < counts.size(); ++k) {
            const SampleCounts& cell = counts[k];
            if (cell.central + cell.other == 0) {
                continue;
            }
            int index = 1;
            for (std::size_t i = 0; i < columns.size(); ++i) {
                // A number as stored: its 15-digit text may overflow when read back.
                if (numbers[i] && columns[i].type == "N") {
                    insert.bind(index++, *numbers[i]);
                } else {
                    bind_group_value(insert, index++, columns[i], texts[i]);
                }
            }
            if (k == 0) {
                insert.bind_null(index++);
            } else {
                insert.bind(index++, static_cast<std::int64_t>(k));
            }
            insert.bind(index, cell.central);
            insert.bind(index + 1, cell.other);
            insert.bind(index + 2, cell.central + cell.other);
            insert.run();
            insert.reset();
        }
    }
}

}  // namespace

void chi_classify(AppState& state) {
    if (state.class_defs.empty()) {
        throw Error("No Classes are formed");
    }
    require_plain_name(state.param_var, "parameter");
    require_plain_name(state.sample_var, "sample variable");
    const std::vector<GroupColumn> columns = checked_group_columns(state);
    Classification work{ClassLookup(state.class_defs), SampleTally(columns.size()), {}};
    classify_and_count(state, columns, work);
    write_frequency_table(state, columns, work.tally);
}

}  // namespace vesk
