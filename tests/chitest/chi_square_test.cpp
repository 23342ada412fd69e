#include <gtest/gtest.h>

#include <functional>

#include "chitest/chi_test.h"
#include "chitest/class_lines.h"
#include "chitest/list_par_values.h"
#include "core/error.h"
#include "core/text.h"
#include "support/data_table.h"
#include "support/error_text.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

using testing::TempDir;
using Rows = std::vector<std::string>;

// Records of STATE (C 2) and SECTOR (N 1), the groups, with a sample and a parameter variable.
class ChiSquare : public ::testing::Test {
  protected:
    void SetUp() override { survey({"SAMPLE", 4, 1, "N", "N"}, {"P", 5, 2, "N", "N"}); }
    void survey(const VarDef& sample, const VarDef& param) {
        testing::make_data(t.state,
                           {{"STATE", 1, 2, "C", "N"}, {"SECTOR", 3, 1, "N", "N"}, sample, param});
        t.state.grp_vars = "STATE, SECTOR";
        t.state.sample_var = sample.name;
        t.state.param_var = param.name;
        t.state.out_file = t.dir.file("survey");
    }
    // Records "STATE, SECTOR, sample, parameter", each the given number of times.
    void add(const std::vector<std::pair<std::string, int>>& records) {
        for (const auto& [record, count] : records) {
            testing::add_rows(t.state, "(" + record + ")", count);
        }
    }
    // Classes of the given member values, in class order.
    void use_classes(const std::vector<Rows>& members) {
        t.state.class_defs.clear();
        for (const Rows& values : members) {
            std::vector<ParValue> par_values;
            for (const std::string& value : values) {
                par_values.push_back(
                    {value, 0, t.state.var_defs[3].length, t.state.var_defs[3].type});
            }
            t.state.class_defs.push_back(make_class(par_values));
        }
    }
    Rows rows(const std::string& sql) { return testing::rows(t.state.db_conn, sql); }
    std::string result_file() { return TempDir::read(t.state.out_file + "_chi.csv"); }

    testing::TempState t;
};

TEST_F(ChiSquare, WorkedExampleFromRecordsToTheResultLine) {
    add({{"'01', 1, 1, 1", 6}, {"'01', 1, 1, 2", 4}, {"'01', 1, 2, 1", 12}, {"'01', 1, 2, 3", 5}});
    use_classes({{"1", "2"}, {"3"}});

    const ResultFile result = run_chi_test(t.state);

    EXPECT_EQ(rows("select * from data_chi"), (Rows{"01,1,1,10,12,22", "01,1,2,0,5,5"}));
    EXPECT_EQ(result.path, t.state.out_file + "_chi.csv");
    EXPECT_EQ(result.rows, 1);
    EXPECT_EQ(result_file(),
              "STATE,SECTOR,cfrq_tot,sfrq_tot,pfrq_tot,cfrq_cl1,cfrq_cl2,sfrq_cl1,sfrq_cl2,"
              "pfrq_cl1,pfrq_cl2,df,chisqval\n"
              "01,1,10,17,27,10,0,12,5,22,5,1,1.63798411926754\n");
}

TEST_F(ChiSquare, OneSampleGroupsMissingClassesAndASingleClass) {
    add({{"'01', 1, 1, 1", 4}, {"'01', 1, 1, 2", 6}, {"'02', 1, 1, 1", 3}, {"'02', 1, 2, 1", 9}});
    use_classes({{"1"}, {"2"}});
    run_chi_test(t.state);

    // Group 02 computes from central (3, 1) and state (9, 1).
    EXPECT_EQ(rows("select * from data_chitable order by STATE"),
              (Rows{"01,1,10,0,10,4,6,0,0,4,6,1,0.0685714285714286",
                    "02,1,3,9,12,3,0,9,0,12,0,1,0.525"}));

    use_classes({{"1", "2"}});  // one class: no degrees of freedom, nothing to test
    run_chi_test(t.state);
    EXPECT_EQ(rows("select df, chival from data_chitable"), (Rows{"0,0", "0,0"}));
}

TEST_F(ChiSquare, ClassNumbersFollowTheClassOrder) {
    add({{"'01', 1, 1, 1", 2}, {"'01', 1, 2, 2", 3}, {"'01', 1, 2, 3", 4}});
    for (const auto& [order, assigned] : std::vector<std::pair<std::vector<Rows>, Rows>>{
             {{{"1", "2"}, {"3"}}, {"1,1", "2,1", "3,2"}},
             {{{"3"}, {"1", "2"}}, {"1,2", "2,2", "3,1"}},
             {{{"2"}, {"3"}, {"1"}}, {"1,3", "2,1", "3,2"}},
         }) {
        use_classes(order);
        run_chi_test(t.state);
        EXPECT_EQ(rows("select distinct P, CLASS from data order by P"), assigned)
            << order.front().front();
    }
}

// Numbers with more than 15 significant digits read as their 15-digit text: every record is
// classified with the class of the listing line it is counted under, and group values that read
// alike make one group whose cells add up.
TEST_F(ChiSquare, ValuesThatReadAlikeAreClassifiedAndCountedTogether) {
    add({{"'01', 1, 1, 0.1234567890123456", 2},
         {"'01', 1.0000000000000002, 2, 0.1234567890123457", 2},
         {"'01', 1, 2, 0.5", 3}});
    list_par_values(t.state);
    ASSERT_EQ(t.state.par_val_count(), 2);
    EXPECT_EQ(t.state.par_vals[0].value, "0.123456789012346");
    EXPECT_EQ(t.state.par_vals[0].freq, 4);
    for (const ParValue& value : t.state.par_vals) {
        t.state.class_defs.push_back(make_class({value}));
    }
    run_chi_test(t.state);
    EXPECT_EQ(rows("select count(*) from data where CLASS is null"), Rows{"0"});
    EXPECT_EQ(rows("select STATE, SECTOR, frq1, frq2, frq, frq1_1, frq2_1, frq2_2 from "
                   "data_chitable"),
              Rows{"01,1,2,5,7,2,2,3"});
}

// A trigger counts the rewrites (and makes the engine update in two passes, which must count
// every record once all the same). A value left out of every class loses its old class.
TEST_F(ChiSquare, ARunRewritesOnlyTheRecordsWhoseClassChanges) {
    add({{"'01', 1, 1, 1", 3}, {"'01', 1, 2, 2", 4}, {"'01', 1, 1, 3", 5}});
    use_classes({{"1"}, {"2"}, {"3"}});
    run_chi_test(t.state);
    t.state.db_conn.execute("create table rewrites (n integer)");
    t.state.db_conn.execute("insert into rewrites values (0)");
    t.state.db_conn.execute(
        "create trigger count_rewrites after update of CLASS on data "
        "begin update rewrites set n = n + 1; end");

    use_classes({{"1"}, {"2"}});
    run_chi_test(t.state);
    EXPECT_EQ(rows("select n from rewrites"), Rows{"5"});
    EXPECT_EQ(rows("select count(*) from data where CLASS is not null"), Rows{"7"});
    EXPECT_EQ(rows("select CLASS, frq1, frq2 from data_chi"), (Rows{"NULL,5,0", "1,3,0", "2,0,4"}));
    EXPECT_EQ(rows("select sum(frq) from data_chitable"), Rows{"7"});
    run_chi_test(t.state);
    EXPECT_EQ(rows("select n from rewrites"), Rows{"5"});
}

TEST_F(ChiSquare, TenOrMoreClassesKeepTheirNumbersInTheHeader) {
    std::vector<Rows> members;
    for (int value = 1; value <= 11; ++value) {
        const std::string p = std::to_string(value);
        add({{"'01', 1, 1, " + p, value}, {"'01', 1, 2, " + p, 1}});
        members.push_back({std::to_string(value)});
    }
    use_classes(members);
    run_chi_test(t.state);

    const std::string file = result_file();
    EXPECT_NE(file.find(",cfrq_cl9,cfrq_cl10,cfrq_cl11,sfrq_cl1,"), std::string::npos) << file;
    EXPECT_NE(file.find(",pfrq_cl11,df,chisqval\n01,1,66,11,77,1,2,3,4,5,6,7,8,9,10,11,1,1,"),
              std::string::npos)
        << file;
}

TEST_F(ChiSquare, CharacterValuesWithQuotesCommasAndBlanksClassifyAndReport) {
    survey({"SAMPLE", 4, 1, "N", "N"}, {"CODE", 5, 3, "C", "N"});
    add({{"'0''', 1, 1, 'O''H'", 2},
         {"'0''', 1, 2, 'AB '", 3},
         {"'a,', 2, 1, 'AB'", 4},
         {"'a,', 2, 2, 'O''H'", 1}});
    use_classes({{"O'H"}, {"AB ", "AB"}});
    EXPECT_EQ(t.state.class_defs[1].values, "'AB ','AB '");

    run_chi_test(t.state);
    EXPECT_EQ(rows("select CODE, CLASS from data group by CODE order by CODE"),
              (Rows{"AB,2", "AB ,2", "O'H,1"}));
    const std::string file = result_file();
    EXPECT_NE(file.find("\n0',1,2,3,5,2,0,0,3,2,3,1,"), std::string::npos) << file;
    EXPECT_NE(file.find("\n\"a,\",2,4,1,5,0,4,1,0,1,4,1,"), std::string::npos) << file;
}

TEST_F(ChiSquare, AMissingParameterValueIsClassedByItsEmptyMember) {
    add({{"'01', 1, 1, null", 3}, {"'01', 1, 2, 0", 2}, {"'01', 1, 2, 1", 4}});
    use_classes({{"", "1"}, {"0"}});
    run_chi_test(t.state);
    EXPECT_EQ(rows("select P, CLASS from data group by P order by P"),
              (Rows{"NULL,1", "0,2", "1,1"}));
}

TEST_F(ChiSquare, ARefusedRunIsReportedAndLeavesTablesAndFileAsTheyWere) {
    add({{"'01', 1, 1, 1", 4}, {"'01', 1, 2, 2", 6}});
    use_classes({{"1"}, {"2"}});
    run_chi_test(t.state);
    const Rows old_table = rows("select * from data_chitable");
    const Rows old_classes = rows("select P, CLASS from data group by P");
    const std::string old_file = result_file();

    struct Case {
        const char* what;
        std::function<void(AppState&)> spoil;
        std::string message_start;
    };
    const Case cases[] = {
        {"sample not in data", [](AppState& s) { s.sample_var = "NOSUCH"; },
         "The frequency table could not be built"},
        {"parameter not in data", [](AppState& s) { s.param_var = "NOSUCH"; },
         "The classes could not be assigned"},
        {"undefined group", [](AppState& s) { s.grp_vars = "STATE, REGION"; },
         "The group variable \"REGION\""},
        {"no classes", [](AppState& s) { s.class_defs.clear(); }, "No Classes are formed"},
        {"not a name", [](AppState& s) { s.sample_var = "SAMPLE; drop table data"; }, "The sample"},
        {"group named like a column of the result",
         [](AppState& s) {
             s.var_defs[1].name = "DF";
             s.grp_vars = "STATE, DF";
         },
         "The group variable DF has the name of a column of the result table data_chitable (df)"},
    };
    for (const auto& [what, spoil, message_start] : cases) {
        AppState& s = t.state;
        s.sample_var = "SAMPLE";
        s.param_var = "P";
        s.grp_vars = "STATE, SECTOR";
        use_classes({{"2"}, {"1"}});  // would swap the class numbers
        spoil(s);
        const std::string message = testing::error_text([&] { run_chi_test(s); });
        EXPECT_TRUE(message.starts_with(message_start)) << what << ": " << message;
        EXPECT_EQ(rows("select * from data_chitable"), old_table) << what;
        EXPECT_EQ(rows("select P, CLASS from data group by P"), old_classes) << what;
        EXPECT_EQ(result_file(), old_file) << what;
    }
}

TEST_F(ChiSquare, AsManyClassesAsTheEngineHoldsRunAndOneMoreIsRefusedBeforeAnyWork) {
    add({{"'01', 1, 1, 1", 2}});
    std::vector<Rows> members;
    for (int k = 1; k <= 3000; ++k) {
        members.push_back({std::to_string(k)});
    }
    use_classes(members);
    const std::string message = testing::error_text([&] { run_chi_test(t.state); });
    const std::string allowed = "classes: at most ";
    ASSERT_NE(message.find(allowed), std::string::npos) << message;
    EXPECT_FALSE(t.state.db_conn.table_exists("data_chi"));
    const auto most = std::stoul(message.substr(message.find(allowed) + allowed.size()));

    members.resize(most + 1);
    use_classes(members);
    EXPECT_THROW(run_chi_test(t.state), Error);
    members.resize(most);
    use_classes(members);
    EXPECT_EQ(run_chi_test(t.state).rows, 1);
}

TEST_F(ChiSquare, TheLargestNumberAsAGroupValueKeepsItsValueAndItsPlace) {
    const std::string largest = "1.7976931348623157e308";  // the largest double, read exactly
    add({{"'01', " + largest + ", 1, 1", 1}, {"'01', " + largest + ", 2, 2", 1}});
    add({{"'01', 1, 1, 1", 1}, {"'01', 1, 2, 2", 1}});
    use_classes({{"1"}, {"2"}});
    run_chi_test(t.state);
    for (const auto& [table, is_largest] :
         {std::pair{"data_chi", Rows{"0", "0", "1", "1"}}, {"data_chitable", Rows{"0", "1"}}}) {
        EXPECT_EQ(rows("select SECTOR = " + largest + " from " + table + " order by rowid"),
                  is_largest)
            << table;
    }
    const std::vector<std::string> lines = split(result_file(), '\n');
    ASSERT_GE(lines.size(), 3U);
    EXPECT_TRUE(lines[1].starts_with("01,1,")) << lines[1];
    EXPECT_TRUE(lines[2].starts_with("01,1.79769313486232e+308,")) << lines[2];
}

}  // namespace
}  // namespace vesk
