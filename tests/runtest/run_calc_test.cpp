#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "core/text.h"
#include "runtest/run_calc.h"
#include "runtest/runs_test.h"
#include "support/data_table.h"
#include "support/error_text.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

const std::string header = "STATE,SECTOR,cent_run,state_run,total_run,n,m,erun,vrun,zvalue\n";

class RunTest : public ::testing::Test {
  protected:
    // data: STATE (character), SECTOR (numeric), SAMPLE of the given type, INCOME (numeric).
    void make_data(const std::string& sample_type, const std::string& rows) {
        testing::make_data(t.state, {{"STATE", 1, 2, "C", "Y"},
                                     {"SECTOR", 3, 1, "N", "N"},
                                     {"SAMPLE", 4, 2, sample_type, "N"},
                                     {"INCOME", 6, 5, "N", "N"}});
        testing::add_rows(t.state, rows);
        t.state.grp_vars = "STATE, SECTOR";
        t.state.sample_var = "SAMPLE";
        t.state.param_var = "INCOME";
        t.state.out_file = t.dir.file("survey");
    }
    // The whole test; the result file's text.
    std::string run() {
        report = run_runs_test(t.state);
        return testing::TempDir::read(report.path);
    }
    std::string rows_in(const char* table) {
        return testing::rows(db(), std::string("select count(*) from ") + table).at(0);
    }
    Database& db() { return t.state.db_conn; }

    testing::TempState t;
    ResultFile report;
};

struct Case {
    const char* what;
    const char* sample_type;
    const char* rows;  // (STATE, SECTOR, SAMPLE, INCOME), in any order
    const char* lines;
};

TEST_F(RunTest, CountsRunsAndWritesOneLinePerGroup) {
    const Case cases[] = {
        {"worked group 1,1,2,2,1", "N",
         "('01', 1, 1, 10), ('01', 1, 1, 20), ('01', 1, 2, 30), ('01', 1, 2, 40), ('01', 1, 1, 50)",
         "01,1,2,1,3,3,2,3.4,0.84,-0.436435780471985\n"},
        {"a tie puts the central record before state value 2", "N",
         "('01', 1, 2, 5), ('01', 1, 1, 5), ('01', 1, 2, 7)",
         "01,1,1,1,2,1,2,2.33333333333333,0.222222222222222,-0.707106781186547\n"},
        {"state values 2 and 3 side by side are one state run", "N",
         "('01', 1, 1, 1), ('01', 1, 2, 2), ('01', 1, 3, 3), ('01', 1, 1, 4)",
         "01,1,2,1,3,2,2,3,0.666666666666667,0\n"},
        {"character 01 and blank-led 1 are state, 1 is central", "C",
         "('01', 1, '1', 1), ('01', 1, '01', 2), ('01', 1, ' 1', 3), ('01', 1, '1', 4)",
         "01,1,2,1,3,2,2,3,0.666666666666667,0\n"},
        {"two groups, rows in group order", "N",
         "('02', 1, 1, 1), ('01', 2, 2, 1), ('01', 2, 1, 2), ('02', 1, 2, 2), ('01', 2, 1, 3)",
         "01,2,1,1,2,2,1,2.33333333333333,0.222222222222222,-0.707106781186547\n"
         "02,1,1,1,2,1,1,2,0,\n"},
        {"a group of one record keeps its row, undefined statistics empty", "N", "('01', 1, 1, 1)",
         "01,1,1,0,1,1,0,1,,\n"},
        {"a group of one sample only", "N", "('01', 1, 2, 1), ('01', 1, 2, 2), ('01', 1, 3, 3)",
         "01,1,0,1,1,0,3,1,0,\n"},
        {"group values written plain, a comma quoted", "N",
         "('A,', 1.5, 1, 1), ('A,', 1.5, 2, 2), ('O''', 1, 1, 1), ('O''', 1, 2, 2)",
         "\"A,\",1.5,1,1,2,1,1,2,0,\nO',1,1,1,2,1,1,2,0,\n"},
        {"group numbers equal to 15 digits are one group", "N",
         "('01', 0.3, 1, 1), ('01', 0.30000000000000004, 2, 2)", "01,0.3,1,1,2,1,1,2,0,\n"},
        {"a null group value and an empty one are one group", "N", "('', 1, 1, 1), (null, 1, 2, 2)",
         ",1,1,1,2,1,1,2,0,\n"},
    };
    for (const Case& c : cases) {
        make_data(c.sample_type, c.rows);
        EXPECT_EQ(run(), header + c.lines) << c.what;
    }
}

TEST_F(RunTest, RunningAgainReplacesTableAndFile) {
    make_data("N", "('01', 1, 1, 1), ('01', 1, 2, 2), ('02', 1, 1, 1), ('02', 1, 2, 2)");
    run();
    EXPECT_EQ(report.rows, 2);
    db().execute("delete from data where STATE = '01'");
    EXPECT_EQ(run(), header + "02,1,1,1,2,1,1,2,0,\n");
    EXPECT_EQ(rows_in("data_run"), "1");
    EXPECT_EQ(report.path, t.dir.file("survey_run.csv"));
}

TEST_F(RunTest, RefusalsLeaveThePreviousResultTable) {
    make_data("N", "('01', 1, 1, 1), ('01', 1, 2, 2)");
    run_calc(t.state);
    struct Refusal {
        const char* what;
        std::string AppState::*field;
        const char* value;
        const char* says;
    };
    const Refusal refusals[] = {
        {"a pasted statement", &AppState::sample_var, "SAMPLE; drop table data", "not a defined"},
        {"a column data lacks", &AppState::param_var, "WEIGHT", "WEIGHT"},
        {"an undefined group", &AppState::grp_vars, "STATE, REGION", "\"REGION\" is not a defined"},
        {"a group name the engine reserves", &AppState::grp_vars, "STATE, ORDER", "ORDER"},
        {"no group at all", &AppState::grp_vars, "", "not a defined"},
    };
    for (const Refusal& r : refusals) {
        make_data("N", "('01', 1, 1, 1), ('01', 1, 2, 2)");
        t.state.*r.field = r.value;
        const std::string message = testing::error_text([&] { run_calc(t.state); });
        EXPECT_NE(message.find(r.says), std::string::npos) << r.what << ": " << message;
        EXPECT_EQ(rows_in("data_run"), "1") << r.what;
        EXPECT_EQ(db().column_names("data_run").size(), 10u) << r.what;
    }
    make_data("N", "('01', 1, 1, 1), ('01', 1, 2, 2)");
    t.state.var_defs.push_back({"STATE ", 7, 2, "C", "N"});
    EXPECT_THROW(run_calc(t.state), Error);
    EXPECT_EQ(db().column_names("data_run").size(), 10u);
}

TEST_F(RunTest, TheStateSampleCodeChangesTheRunsCountedButNotThePrimaryPValue) {
    // Incomes 1, 2, 3, 3, 4, 5 of central, state, central, state, central, state. Within the tie
    // at 3 the sort puts the lower sample code first: state coded 2 counts C S C S C S, 6 runs;
    // coded 0, C S S C C S, 4 runs. T counts the tie as one run plus half a run at each side:
    // 1 + 1 + (1 + 0.5 + 0.5 + 1) = 5 either way, and no relabelling of the six gets more.
    std::vector<double> p;
    for (const char* state_code : {"2", "0"}) {
        const std::string c = "('01', 1, 1, ";
        const std::string s = std::string("('01', 1, ") + state_code + ", ";
        make_data("N", c + "1), " + s + "2), " + c + "3), " + s + "3), " + c + "4), " + s + "5)");
        run_calc(t.state);
        ASSERT_EQ(t.state.run_stats.size(), 1u);
        EXPECT_EQ(t.state.run_stats[0].runs, state_code == std::string("2") ? 6 : 4);
        EXPECT_DOUBLE_EQ(t.state.run_stats[0].t, 5);
        p.push_back(t.state.run_stats[0].p ? t.state.run_stats[0].p->value() : -1);
    }
    EXPECT_EQ(p, (std::vector<double>{1.0, 1.0}));
}

TEST_F(RunTest, TheLargestNumberAsAGroupValueKeepsItsValueAndItsPlace) {
    const std::string largest = "1.7976931348623157e308";  // the largest double, read exactly
    make_data("N", "('01', " + largest + ", 1, 1), ('01', " + largest +
                       ", 2, 2), ('01', 1, 1, 1), ('01', 1, 2, 2)");
    const std::vector<std::string> lines = split(run(), '\n');
    EXPECT_EQ(testing::rows(db(), "select SECTOR = " + largest + " from data_run order by rowid"),
              (std::vector<std::string>{"0", "1"}));
    ASSERT_GE(lines.size(), 3U);
    EXPECT_TRUE(lines[1].starts_with("01,1,")) << lines[1];
    EXPECT_TRUE(lines[2].starts_with("01,1.79769313486232e+308,")) << lines[2];
}

}  // namespace
}  // namespace vesk
