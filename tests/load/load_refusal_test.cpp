#include <gtest/gtest.h>

#include "load/data_filter.h"
#include "load/load_data.h"
#include "load_fixture.h"
#include "support/error_text.h"

namespace vesk {
namespace {

using testing::four_variables;

using Rows = std::vector<std::string>;

constexpr const char* four_lines =
    "001021  5\n"   // STATE 02, SEX 1, AGE 5
    "002022 50\n"   // STATE 02, SEX 2, AGE 50
    "003032  5\n"   // STATE 03, SEX 2, AGE 5
    "004031 40\n";  // STATE 03, SEX 1, AGE 40

class LoadFilter : public testing::LoadFixture {
  protected:
    LoadSummary load_with(const std::string& condition) {
        set_input(four_lines);
        t.state.filter_cond = filter_cond_for(condition);
        return load_data(t.state);
    }
};

TEST_F(LoadFilter, KeepsTheRowsTheConditionHoldsForOrCannotDecideAndABlankOneIsNoFilter) {
    const std::pair<const char*, Rows> cases[] = {
        {"SEX = 1 AND STATE = '02'", {"001"}},
        {"  AGE > 10  ", {"002", "004"}},
        {"abs(AGE - 40) < 15", {"002", "004"}},
        // Division by zero is null in the engine: the rows with SEX 1 cannot be decided.
        {"AGE / (SEX - 1) > 10", {"001", "002", "004"}},
        {"STATE IN ('02', '(')", {"001", "002"}},
        {"   ", {"001", "002", "003", "004"}},
    };
    for (const auto& [condition, kept] : cases) {
        const LoadSummary summary = load_with(condition);
        const bool blank = std::string(condition).find_first_not_of(' ') == std::string::npos;
        EXPECT_EQ(t.state.filter_cond.empty(), blank) << condition;
        EXPECT_EQ(rows("select HHID from data order by HHID"), kept) << condition;
        EXPECT_EQ(summary.filter_applied, !blank) << condition;
        EXPECT_EQ(summary.rows_filtered_out, 4 - static_cast<std::int64_t>(kept.size()));
        EXPECT_TRUE(t.state.data_loaded);
    }
}

// Loads good data, then each failing import must leave everything as it was.
class LoadRefusal : public testing::LoadFixture {
  protected:
    void SetUp() override {
        LoadFixture::SetUp();
        set_input("00102134\n00202135\n");
        load_data(t.state);
        ASSERT_TRUE(t.state.data_loaded);
        data_before = rows("select * from data");
        layout_before = rows("select * from variable");
        lines_before = t.state.last_load.lines_read;
        set_input(four_lines);
    }

    // Runs the import expecting a refusal and returns its message.
    std::string refused_load() {
        progress_calls = 0;
        return testing::error_text([this] {
            load_data(t.state, [this](std::uint64_t, std::uint64_t) {
                ++progress_calls;
                return true;
            });
        });
    }

    // The data, the layout they were loaded with and the state that tests them, as they were.
    void expect_all_as_before(const std::string& what) {
        EXPECT_EQ(rows("select * from data"), data_before) << what;
        EXPECT_EQ(rows("select * from variable"), layout_before) << what;
        EXPECT_FALSE(t.state.db_conn.table_exists("vesk_replaced_data")) << what;
        EXPECT_TRUE(t.state.data_loaded) << what;
        ASSERT_EQ(t.state.var_count(), 4) << what;
        EXPECT_EQ(t.state.var_defs[3].name, "AGE") << what;
        EXPECT_EQ(t.state.key_list, "HHID") << what;
        EXPECT_EQ(t.state.last_load.lines_read, lines_before) << what;
    }

    Rows data_before;
    Rows layout_before;
    std::int64_t lines_before = 0;
    int progress_calls = 0;
};

TEST_F(LoadRefusal, AFilterThatIsNotOneExpressionOverTheDataIsRefusedBeforeAnyLineIsRead) {
    std::vector<std::string> filter_conds;
    for (const char* condition : {
             "SEX = = 1",                                 // syntax error
             "SEXX = 1",                                  // no such column
             "SEX = 1); drop table variable; select (1",  // a second statement
             "SEX = 1) or (1 = 1",                        // ends the not( early
             "SEX = 1; delete from variable",
             "SEX in (select ID from variable)",  // another table
             "SEX in (select SEX from data)",     // a query
             "SEX = ?",                           // parameters
             "SEX = :value",
             "count(*) > 1",         // an aggregate
             "SEX = 1 -- men only",  // the comment hides the closing parenthesis
             "STATE = '02",          // unterminated text
         }) {
        filter_conds.push_back(filter_cond_for(condition));
    }
    // Not in the form the filter check makes.
    filter_conds.insert(filter_conds.end(), {" WHERE SEX = 1", "SEX = 1", " WHERE not(SEX = 1"});
    for (const std::string& filter_cond : filter_conds) {
        t.state.filter_cond = filter_cond;
        const std::string message = refused_load();
        EXPECT_TRUE(message.starts_with("The filter condition cannot be used: ")) << message;
        EXPECT_EQ(progress_calls, 0) << filter_cond;
        expect_all_as_before(filter_cond);
    }
}

TEST_F(LoadRefusal, ALayoutTheDataCannotTakeIsRefusedNamingTheVariable) {
    // AGE replaced, and what the message names.
    const std::pair<VarDef, const char*> cases[] = {
        {{"1AGE", 7, 3, "N", "N"}, "1AGE"},     {{"AGE X", 7, 3, "N", "N"}, "AGE X"},
        {{"select", 7, 3, "N", "N"}, "select"}, {{"CLASS", 7, 3, "N", "N"}, "CLASS"},
        {{"", 7, 3, "N", "N"}, "\"\""},         {{"sex", 7, 3, "N", "N"}, "sex"},
        {{"AGE", 7, 3, "n", "N"}, "AGE"},       {{"AGE", 7, 3, "X", "N"}, "AGE"},
        {{"AGE", 7, 3, "", "N"}, "AGE"},        {{"AGE", 0, 3, "N", "N"}, "AGE"},
        {{"AGE", 7, 0, "N", "N"}, "AGE"},       {{"AGE", 7, 3, "N", "N", 4}, "4 decimals"},
        {{"AGE", 7, 3, "N", "N", -1}, "AGE"},
    };
    for (const auto& [age, named] : cases) {
        auto defs = four_variables();
        defs[3] = age;
        set_layout(defs);
        const std::string message = refused_load();
        EXPECT_NE(message.find(named), std::string::npos) << message;
        expect_all_as_before(age.name);
    }
}

TEST_F(LoadRefusal, AnInputOfWhichNoLineLoadsReplacesNothingAndSaysWhy) {
    const std::string kept = "\nNothing was replaced; the data loaded before are kept.";
    const std::string blank_hint =
        "\nA blank numeric field cannot be loaded. A variable left out of the layout is not "
        "read at all: a layout of only the variables the tests need loads such lines.";
    const std::pair<const char*, std::string> cases[] = {
        {"", "The input file " + t.dir.file("input.txt") + " holds no line." + kept},
        {"00402  \n\n005021   \n",
         "No line was loaded. 3 lines read: 0 loaded, 3 rejected.\nRejected lines:\nline 1: SEX "
         "is blank\nline 2: blank line\nline 3: AGE is blank" +
             blank_hint + kept},
        {"004021abc\n",
         "No line was loaded. 1 line read: 0 loaded, 1 rejected.\nRejected lines:\nline 1: AGE "
         "is not a number" +
             kept},
    };
    for (const auto& [input, message] : cases) {
        set_input(input);
        EXPECT_EQ(refused_load(), message);
        expect_all_as_before(input);
    }
}

TEST_F(LoadRefusal, ACancelPartWayStopsTheReadingAndReplacesNothing) {
    std::string input;
    for (int i = 0; i < 40000; ++i) {
        input += std::to_string(1000 + i % 1000).substr(1) + "02134\n";
    }
    set_input(input);
    // The first call comes before any line is read, the second some thousand lines later.
    const std::string message = testing::error_text([this] {
        load_data(t.state, [this](std::uint64_t, std::uint64_t) { return ++progress_calls < 2; });
    });
    EXPECT_EQ(message, LoadCancelled().what());
    EXPECT_EQ(progress_calls, 2);
    expect_all_as_before("cancelled");
}

TEST_F(LoadRefusal, ACreateTheDatabaseRefusesIsReported) {
    std::vector<VarDef> defs;
    for (int i = 1; i <= 2000; ++i) {  // with CLASS, one column more than the engine allows
        defs.push_back({"V" + std::to_string(i), 1, 1, "C", i == 1 ? "Y" : "N"});
    }
    set_layout(defs);
    EXPECT_TRUE(refused_load().starts_with("The table data cannot be created"));
    expect_all_as_before("too many columns");
}

}  // namespace
}  // namespace vesk
