#include <gtest/gtest.h>

#include <algorithm>

#include "core/clear_vars.h"
#include "core/error.h"
#include "core/load_provenance.h"
#include "load/load_data.h"
#include "load/load_report.h"
#include "load_fixture.h"

namespace vesk {
namespace {

using testing::four_variables;

using Rows = std::vector<std::string>;

class LoadData : public testing::LoadFixture {};

TEST_F(LoadData, BuildsTableDataFromTheLayoutWithItsKeyVariablesInLayoutOrder) {
    auto defs = four_variables();
    defs[2] = {"PERSON", 6, 1, "N", "Y"};
    set_layout(defs);
    set_input("00102103 \r\n001022 30\n00102140\n");
    const LoadSummary summary = load_data(t.state);

    EXPECT_EQ(rows("select name, type, pk from pragma_table_info('data') order by cid"),
              (Rows{"HHID,varchar(3),1", "STATE,varchar(2),0", "PERSON,double,2", "AGE,double,0",
                    "CLASS,double,0"}));
    EXPECT_EQ(rows("select HHID, STATE, PERSON, AGE, CLASS from data order by PERSON"),
              (Rows{"001,02,1,3,NULL", "001,02,2,30,NULL"}));
    EXPECT_EQ(summary.lines_loaded, 2);
    EXPECT_EQ(summary.first_rejected.at(0).reason, RejectReason::duplicate_key);
    ASSERT_EQ(t.state.var_count(), 4);
    EXPECT_EQ(t.state.var_defs[3].start, 7);
    EXPECT_EQ(t.state.key_list, "HHID, PERSON");
    EXPECT_TRUE(t.state.data_loaded);
}

TEST_F(LoadData, CharacterSlicesKeepTheirBlanksAndQuotes) {
    // TAIL is part of the key: nothing left of the line is empty text, which a key can hold.
    set_layout({{"HHID", 1, 3, "C", "Y"},
                {"NAME", 4, 4, "C", "N"},
                {"SEX", 8, 1, "N", "N"},
                {"TAIL", 9, 5, "C", "Y"}});
    set_input("001AB  1  x\n002O'B 2\n003\"Q\";1ABCDEFG\n004\n");
    const LoadSummary summary = load_data(t.state);

    EXPECT_EQ(summary.lines_rejected, 1);  // 004 ends before SEX
    // A field running past the line end holds what remains, possibly nothing.
    EXPECT_EQ(rows("select HHID, NAME, TAIL from data order by HHID"),
              (Rows{"001,AB  ,  x", "002,O'B ,", "003,\"Q\";,ABCDE"}));
    EXPECT_EQ(rows("select HHID from data where TAIL = ''"), Rows{"002"});
}

TEST_F(LoadData, ImpliedDecimalsDivideANumberWrittenWithoutAPointAndLeaveTextAlone) {
    set_layout({{"HHID", 1, 3, "C", "Y", 0},
                {"STATE", 4, 2, "C", "N", 1},
                {"SEX", 6, 1, "N", "N", 0},
                {"AMOUNT", 7, 5, "N", "N", 2}});
    set_input("00102112345\n0020211234.\n003021123.4\n00402100007\n005021 -250\n");
    EXPECT_EQ(load_data(t.state).lines_loaded, 5);
    EXPECT_EQ(rows("select HHID, STATE, AMOUNT from data order by HHID"),
              (Rows{"001,02,123.45", "002,02,1234", "003,02,123.4", "004,02,0.07", "005,02,-2.5"}));
}

TEST_F(LoadData, RejectedLinesAreCountedAndTheLinesAfterThemLoad) {
    set_input(
        "00102134\r\n"   // 1 loads
        "\r\n"           // 2 blank
        "         \r\n"  // 3 blanks only
        "00202\r\n"      // 4 ends before SEX
        "0010215\r\n"    // 5 repeats the key of line 1
        "00302X12\r\n"   // 6 SEX is not a number
        "00402 \r\n"     // 7 SEX is a blank
        "005022 9");     // 8 loads, without a line end
    const LoadSummary summary = load_data(t.state);

    EXPECT_EQ(summary.lines_read, 8);
    EXPECT_EQ(summary.lines_loaded, 2);
    EXPECT_EQ(summary.lines_rejected, 6);
    const std::vector<std::pair<std::int64_t, RejectReason>> expected = {
        {2, RejectReason::blank_line},     {3, RejectReason::blank_line},
        {4, RejectReason::line_too_short}, {5, RejectReason::duplicate_key},
        {6, RejectReason::not_a_number},   {7, RejectReason::blank_number}};
    std::vector<std::pair<std::int64_t, RejectReason>> named;
    for (const RejectedLine& line : summary.first_rejected) {
        named.emplace_back(line.line_number, line.reason);
    }
    EXPECT_EQ(named, expected);
    EXPECT_EQ(summary.first_rejected[4].variable, "SEX");
    EXPECT_EQ(rows("select HHID, SEX, AGE from data order by HHID"), (Rows{"001,1,34", "005,2,9"}));
    EXPECT_TRUE(t.state.data_loaded);
    EXPECT_EQ(t.state.last_load.lines_rejected, 6);
}

// The lines are read and parsed a run at a time beside the inserts: numbers, reasons and values
// must stay with their lines across the ends of the runs, also where long lines end runs early.
TEST_F(LoadData, LinesAcrossManyRunsKeepTheirNumbersReasonsAndValues) {
    const struct {
        int lines;
        std::int64_t length;
    } cases[] = {{5000, 9}, {7, 300000}};
    for (const auto& c : cases) {
        set_layout({{"HHID", 1, 3, "C", "N"},
                    {"STATE", 4, 2, "C", "N"},
                    {"SEX", 6, 1, "N", "N"},
                    {"AGE", c.length - 2, 3, "N", "N"}});
        t.state.line_key = true;
        std::string input;
        std::vector<std::pair<std::int64_t, RejectReason>> rejected;
        std::int64_t loaded_sum = 0;
        for (int i = 1; i <= c.lines; ++i) {
            if (i % 500 == 0 || i == 4) {
                input += "\n";
                rejected.emplace_back(i, RejectReason::blank_line);
                continue;
            }
            const bool bad_sex = i % 777 == 0 || i == 5;
            std::string line(static_cast<std::size_t>(c.length), ' ');
            const std::string number = std::to_string(1000 + i % 1000).substr(1);
            line.replace(0, 6, number + "02" + (bad_sex ? "x" : std::to_string(i % 2)));
            line.replace(line.size() - 3, 3, number);
            input += line + "\n";
            if (bad_sex) {
                rejected.emplace_back(i, RejectReason::not_a_number);
            } else {
                loaded_sum += i;
            }
        }
        set_input(input);
        const LoadSummary summary = load_data(t.state);

        EXPECT_EQ(summary.lines_read, c.lines);
        EXPECT_EQ(summary.lines_rejected, static_cast<std::int64_t>(rejected.size()));
        EXPECT_EQ(summary.lines_loaded, c.lines - summary.lines_rejected);
        rejected.resize(std::min<std::size_t>(rejected.size(), 10));
        std::vector<std::pair<std::int64_t, RejectReason>> named;
        for (const RejectedLine& line : summary.first_rejected) {
            named.emplace_back(line.line_number, line.reason);
        }
        EXPECT_EQ(named, rejected) << c.lines;
        EXPECT_EQ(rows("select sum(LINE_NO) from data"), Rows{std::to_string(loaded_sum)});
        EXPECT_EQ(rows("select count(*) from (select HHID, SEX, AGE, cast(LINE_NO as integer) as "
                       "line from data) where AGE <> line % 1000 or SEX <> line % 2 or "
                       "HHID <> substr(1000 + line % 1000, 2)"),
                  Rows{"0"});
    }
}

TEST_F(LoadData, RejectedLinesBeyondTheNamedOnesAreCountedInTheMessageAndTheRecord) {
    // Ten blank lines are all named; of eleven, the last is only counted.
    const std::pair<int, const char*> cases[] = {
        {10, "\nline 11: blank line"},
        {11, "\nline 11: blank line\nand 1 more rejected line."},
    };
    for (const auto& [blank, tail] : cases) {
        set_input("00102134\n" + std::string(blank, '\n') + "00202135\n");
        const LoadSummary summary = load_data(t.state);
        const std::string report = load_report(summary);
        EXPECT_TRUE(report.starts_with(std::to_string(blank + 2) + " lines read: 2 loaded, " +
                                       std::to_string(blank) + " rejected.\n"))
            << report;
        EXPECT_TRUE(report.ends_with(tail)) << report;
        const auto recorded = read_load_provenance(t.state.db_conn);
        ASSERT_TRUE(recorded);
        EXPECT_EQ(recorded->lines_rejected, blank);
        EXPECT_EQ(recorded->first_rejected.size(), 10u) << blank;
    }
}

TEST_F(LoadData, NoKeyFlaggedExactlyYOrFewerThanFourVariablesLoadButLeaveDataNotLoaded) {
    set_input("00102134\n00102134\n");
    load_data(t.state);
    ASSERT_TRUE(t.state.data_loaded);

    auto defs = four_variables();
    defs[0].key = "y";
    set_layout(defs);
    const LoadSummary summary = load_data(t.state);
    EXPECT_TRUE(summary.key_missing);
    EXPECT_EQ(t.state.key_list, "");
    EXPECT_FALSE(t.state.data_loaded);
    EXPECT_EQ(summary.lines_loaded, 2);  // nothing makes them duplicates now
    EXPECT_EQ(rows("select count(*) from pragma_table_info('data') where pk > 0"), Rows{"0"});

    defs = four_variables();
    defs.pop_back();
    set_layout(defs);
    EXPECT_EQ(load_data(t.state).lines_loaded, 1);
    EXPECT_FALSE(t.state.data_loaded);
}

TEST_F(LoadData, EveryImportReplacesTheDataAndRecordsWhereTheyCameFromUntilTheyGo) {
    set_input("00102134\n\n00202135\n");
    t.state.filter_cond = " WHERE not(AGE > 34)";
    load_data(t.state);
    const Rows secure_delete = rows("pragma secure_delete");

    auto recorded = read_load_provenance(t.state.db_conn);
    ASSERT_TRUE(recorded);
    // The input's size, digest and layout are read back by the batch test's provenance.
    EXPECT_EQ(recorded->input_path, t.state.inp_file);
    EXPECT_TRUE(recorded->input_modified.has_value());
    EXPECT_EQ(recorded->lines_read, 3);
    EXPECT_EQ(recorded->lines_loaded, 2);
    EXPECT_EQ(recorded->lines_rejected, 1);
    EXPECT_EQ(recorded->rows_filtered_out, 1);
    EXPECT_EQ(recorded->first_rejected, Rows{"line 2: blank line"});
    EXPECT_EQ(recorded->filter, "AGE > 34");

    // A refused import changes neither the data nor their record.
    const std::string first_input = t.state.inp_file;
    t.state.inp_file = t.dir.write("other.txt", "00302136\n");
    t.state.filter_cond = " WHERE not(NOSUCH = 1)";
    EXPECT_THROW(load_data(t.state), Error);
    EXPECT_EQ(read_load_provenance(t.state.db_conn)->input_path, first_input);

    // Replaced data leave only the new table, and the connection as it was.
    t.state.filter_cond.clear();
    load_data(t.state);
    recorded = read_load_provenance(t.state.db_conn);
    EXPECT_EQ(recorded->input_path, t.state.inp_file);
    EXPECT_FALSE(recorded->filter.has_value());
    EXPECT_EQ(rows("select HHID from data"), Rows{"003"});
    EXPECT_EQ(
        rows("select name from sqlite_master where type = 'table' order by name"),
        (Rows{"data", "load_provenance", "load_provenance_layout", "variable", "variable_draft"}));
    EXPECT_EQ(rows("pragma secure_delete"), secure_delete);

    clear_vars(t.state);
    EXPECT_FALSE(read_load_provenance(t.state.db_conn).has_value());
}

}  // namespace
}  // namespace vesk
