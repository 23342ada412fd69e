#include <gtest/gtest.h>

#include "core/csv.h"
#include "core/groups.h"
#include "core/result_file.h"
#include "support/error_text.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

using testing::TempDir;

TEST(CsvField, QuotesOnlyWhatWouldShiftTheColumns) {
    const std::pair<const char*, const char*> cases[] = {
        {"01", "01"},
        {"AB ", "AB "},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"x\"", "\"say \"\"x\"\"\""},
        {"line\nbreak", "\"line\nbreak\""},
        {"cr\r", "\"cr\r\""},
        {"O'Hara", "O'Hara"},
    };
    for (const auto& [value, field] : cases) {
        EXPECT_EQ(csv_field(value), field) << value;
    }
}

class ResultFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        t.state.grp_vars = "STATE, SECTOR";
        split_grp_vars(t.state);
        t.state.out_file = t.dir.file("survey");
        db().execute("create table res (STATE varchar( 2), SECTOR double, a double, b double)");
    }
    Database& db() { return t.state.db_conn; }
    ResultFile write() { return write_result_file(t.state, "res", TestKind::runs, {"x", "y"}); }
    testing::TempState t;
};

TEST_F(ResultFileTest, WritesHeaderAndRowsInGroupOrder) {
    db().execute(
        "insert into res values ('02', 1, 3, 0.84), ('01', 2, null, -0.5), "
        "('01', 1, 7, 1e-7), ('a,b', 1, 1, 1)");
    const ResultFile result = write();
    EXPECT_EQ(result.path, t.state.out_file + "_run.csv");
    EXPECT_EQ(result.rows, 4);
    EXPECT_EQ(TempDir::read(result.path),
              "STATE,SECTOR,x,y\n"
              "01,1,7,1e-07\n"
              "01,2,,-0.5\n"
              "02,1,3,0.84\n"
              "\"a,b\",1,1,1\n");
}

TEST_F(ResultFileTest, FailuresNameTheirCauseAndLeaveTheOldFile) {
    const std::string path = t.dir.write("survey_run.csv", "old results\n");
    db().execute("drop table res");
    EXPECT_THROW(write(), DbError);
    EXPECT_EQ(TempDir::read(path), "old results\n");

    db().execute("create table res (STATE varchar( 2), SECTOR double, a double, b double)");
    t.state.out_file = t.dir.file("missing/folder/survey");
    EXPECT_NE(testing::error_text([&] { write(); }).find("missing/folder/survey_run.csv"),
              std::string::npos);
    // A folder in the result file's place: written, but the rename into place fails.
    std::filesystem::create_directory(t.dir.file("busy_run.csv"));
    t.state.out_file = t.dir.file("busy");
    EXPECT_NE(testing::error_text([&] { write(); }).find("busy_run.csv"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(t.dir.file("busy_run.csv")));
    // No temporary file is left behind: the database, the old result file and the folder only.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(t.dir.path()), {}), 3);
}

}  // namespace
}  // namespace vesk
