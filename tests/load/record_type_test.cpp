#include <gtest/gtest.h>

#include <algorithm>

#include "core/file_input.h"
#include "core/load_provenance.h"
#include "load/load_data.h"
#include "load/load_report.h"
#include "load/record_type.h"
#include "load_fixture.h"
#include "support/error_text.h"

namespace vesk {
namespace {

using Rows = std::vector<std::string>;

std::int64_t lines_starting_with(const std::string& text, char first) {
    std::int64_t count = 0;
    for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
        count += text[at] == first ? 1 : 0;
    }
    return count;
}

class HouseholdFile : public testing::LoadFixture {
  protected:
    void SetUp() override {
        set_layout(testing::person_variables());
        file = testing::household_person_file(40);
        set_input(file);
    }
    std::string file;
};

TEST_F(HouseholdFile, WithoutARecordTypeHouseholdLinesTakeThePersonsKeys) {
    // The household lines end before the person layout does, and repeat person 1's key.
    const LoadSummary summary = load_data(t.state);
    EXPECT_EQ(summary.lines_rejected, 40);
    EXPECT_EQ(summary.first_rejected.at(0).reason, RejectReason::duplicate_key);
}

TEST_F(HouseholdFile, ARecordTypeLoadsItsLinesOnlyAndCountsTheOthersApart) {
    t.state.record_type = RecordType{"rectype", "P"};
    t.state.filter_cond = " WHERE not(SAMPLE = 1)";
    const LoadSummary summary = load_data(t.state);
    const std::int64_t persons = lines_starting_with(file, 'P');
    EXPECT_EQ(summary.lines_read, persons + 40);
    EXPECT_EQ(summary.lines_loaded, persons);
    EXPECT_EQ(summary.lines_rejected, 0);
    EXPECT_EQ(summary.lines_other_type, 40);
    EXPECT_EQ(summary.lines_read,
              summary.lines_loaded + summary.lines_rejected + summary.lines_other_type);
    EXPECT_EQ(rows("select count(*) from data where RECTYPE <> 'P'"), Rows{"0"});
    // The filter runs on the person records only: households would have SAMPLE 0.
    EXPECT_EQ(rows("select count(*) from data"),
              Rows{std::to_string(persons - summary.rows_filtered_out)});
    EXPECT_GT(summary.rows_filtered_out, 0);
    // Implied decimals: 00001037 cents, 00000012346 with four decimals.
    EXPECT_EQ(rows("select INCOME, WEIGHT from data where HHID = '0001' and PERSON = 1"),
              Rows{"10.37,1.2346"});
    EXPECT_EQ(load_report(summary).substr(0, load_report(summary).find('\n')),
              std::to_string(persons + 40) + " lines read: " + std::to_string(persons) +
                  " loaded, 0 rejected, 40 of other record types skipped (record type RECTYPE "
                  "= P).");

    const auto recorded = read_load_provenance(t.state.db_conn);
    ASSERT_TRUE(recorded);
    EXPECT_EQ(recorded->record_type, "RECTYPE = P");
    EXPECT_EQ(recorded->lines_other_type, 40);
    EXPECT_EQ(recorded->layout.at(7).decimals, 4);
}

TEST_F(HouseholdFile,
       TheLayoutIsCheckedAgainstTheFirstLineOfTheTypeAndAMissingTypeReplacesNothing) {
    t.state.record_type = RecordType{"RECTYPE", "P"};
    load_data(t.state);
    const Rows before = rows("select count(*) from data");

    auto too_long = testing::person_variables();
    too_long.back().length = 12;
    const std::string kept = "Nothing was replaced; the data loaded before are kept.";
    const struct {
        std::vector<VarDef> layout;
        RecordType type;
        std::string message;
    } cases[] = {
        {too_long,
         {"RECTYPE", "P"},
         "Line 2, the first of record type RECTYPE = P, has 32 characters: WEIGHT ends at 33, "
         "beyond it. The layout must fit the records of the type it loads. " +
             kept},
        {testing::person_variables(),
         {"RECTYPE", "Q"},
         "No line of the input file " + t.state.inp_file +
             " is of the record type RECTYPE = Q: its " +
             std::to_string(lines_starting_with(file, 'P') + 40) + " lines are of other types.\n" +
             kept},
        {testing::person_variables(), {"KIND", "P"}, "The record type variable KIND is not"},
        {testing::person_variables(), {"SAMPLE", "one"}, "is not a number"},
    };
    for (const auto& c : cases) {
        set_layout(c.layout);
        t.state.record_type = c.type;
        const std::string message = testing::error_text([this] { load_data(t.state); });
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
        EXPECT_EQ(rows("select count(*) from data"), before);
    }
}

TEST_F(HouseholdFile, AFirstLineOfTheTypeFarIntoTheFileIsCheckedWhereItStands) {
    // Lines are parsed a run at a time: the refusal comes from a run after the first.
    const std::string household = file.substr(0, file.find('\n') + 1);
    std::string input;
    for (int i = 0; i < 3000; ++i) {
        input += household;
    }
    set_input(input + file);
    auto too_long = testing::person_variables();
    too_long.back().length = 12;
    set_layout(too_long);
    t.state.record_type = RecordType{"RECTYPE", "P"};
    EXPECT_TRUE(testing::error_text([this] { load_data(t.state); })
                    .starts_with("Line 3002, the first of record type RECTYPE = P, has 32 "
                                 "characters: WEIGHT ends at 33"));
    EXPECT_FALSE(t.state.db_conn.table_exists("data"));
}

TEST(RecordTypeFilter, ReadsTheFieldAsTheLoadDoes) {
    const std::vector<VarDef> layout = {{"KIND", 1, 2, "C", "N"}, {"CODE", 3, 3, "N", "N", 1}};
    const struct {
        RecordType type;
        const char* line;
        bool matches;
    } cases[] = {
        {{"KIND", "P"}, "P  12", true},     {{"KIND", "P"}, " P 12", true},
        {{"KIND", "P"}, "p  12", false},    {{"KIND", "P"}, "PP 12", false},
        {{"KIND", "P"}, "", false},         {{"CODE", "1.2"}, "P  12", true},
        {{"CODE", "1.2"}, "P 012", true},   {{"CODE", "12"}, "P  12", false},
        {{"CODE", "1.2"}, "P  1.2", false},  // a point is taken as written: 1.
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RecordTypeFilter(layout, c.type).matches(c.line), c.matches)
            << c.type.variable << "=" << c.type.value << " '" << c.line << "'";
    }
    EXPECT_EQ(parse_record_type(" RECTYPE = P "), (RecordType{"RECTYPE", "P"}));
    for (const char* text : {"RECTYPE", "=P", "RECTYPE=", " = "}) {
        EXPECT_THROW(parse_record_type(text), Error) << text;
    }
}

class LineKey : public testing::LoadFixture {};

TEST_F(LineKey, EveryLineLoadsWithItsNumberInTheFileAsTheKey) {
    auto no_key = testing::four_variables();
    no_key[0].key = "N";
    set_layout(no_key);
    set_input("00102134\n00102134\n\n00102134\n");
    t.state.line_key = true;
    const LoadSummary summary = load_data(t.state);
    EXPECT_EQ(summary.lines_loaded, 3);
    EXPECT_EQ(rows("select LINE_NO, HHID from data order by LINE_NO"),
              (Rows{"1,001", "2,001", "4,001"}));
    EXPECT_EQ(t.state.key_list, "LINE_NO");
    EXPECT_TRUE(t.state.data_loaded);
    EXPECT_NE(load_report(summary).find("\nKey: LINE_NO, each line's number in the file."),
              std::string::npos);
    EXPECT_TRUE(read_load_provenance(t.state.db_conn)->line_key);

    // With a key of its own the layout keeps it, before the line number.
    set_layout(testing::four_variables());
    load_data(t.state);
    EXPECT_EQ(t.state.key_list, "HHID, LINE_NO");
    EXPECT_EQ(rows("select count(*) from data"), Rows{"3"});

    auto named_so = testing::four_variables();
    named_so[3].name = "line_no";
    set_layout(named_so);
    EXPECT_NE(testing::error_text([this] { load_data(t.state); }).find("LINE_NO"),
              std::string::npos);
}

class ByteOrderMark : public testing::LoadFixture {};

TEST_F(ByteOrderMark, AtTheStartOfTheDataItIsSkippedAndSaid) {
    const std::string lines = "00102134\n00202135\n";
    set_input("\xEF\xBB\xBF" + lines);
    read_reclen(t.state);
    EXPECT_EQ(t.state.rec_len, 8);
    const LoadSummary summary = load_data(t.state);
    EXPECT_EQ(rows("select HHID, STATE, SEX, AGE from data order by HHID"),
              (Rows{"001,02,1,34", "002,02,1,35"}));
    EXPECT_NE(load_report(summary).find("\nThe file starts with a UTF-8 byte-order mark"),
              std::string::npos);
    const auto recorded = read_load_provenance(t.state.db_conn);
    EXPECT_TRUE(recorded->byte_order_mark);
    EXPECT_EQ(recorded->input_size, static_cast<std::int64_t>(lines.size() + 3));

    set_input(lines);
    EXPECT_FALSE(load_data(t.state).byte_order_mark);
    EXPECT_FALSE(read_load_provenance(t.state.db_conn)->byte_order_mark);
}

TEST(LoadProvenance, TablesOfAnEarlierVersionReadWithoutTheLaterFields) {
    testing::TempState t;
    Database& db = t.state.db_conn;
    db.execute("create table data (A double)");
    db.execute(
        "create table load_provenance (loaded_at text, input_path text, input_size integer, "
        "input_sha256 text, input_modified text, lines_read integer, lines_loaded integer, "
        "lines_rejected integer, rows_filtered_out integer, first_rejected text, filter text, "
        "program_version text)");
    db.execute(
        "create table load_provenance_layout (position integer primary key, VN text, ST integer, "
        "LEN integer, TYPE text, PKEY text)");
    db.execute(
        "insert into load_provenance values ('2024-05-01T12:00:00Z', '/in.txt', 9, 'ab', null, "
        "3, 3, 0, 0, '', null, '0.1')");
    db.execute("insert into load_provenance_layout values (1, 'A', 1, 2, 'N', 'Y')");
    const auto recorded = read_load_provenance(db);
    ASSERT_TRUE(recorded);
    EXPECT_EQ(recorded->lines_read, 3);
    EXPECT_FALSE(recorded->record_type.has_value());
    EXPECT_FALSE(recorded->line_key);
    EXPECT_EQ(recorded->layout.at(0).decimals, 0);
}

}  // namespace
}  // namespace vesk
