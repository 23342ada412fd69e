#include <gtest/gtest.h>

#include <functional>

#include "core/database.h"
#include "core/variable_table.h"
#include "support/data_table.h"
#include "support/error_text.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

using testing::TempDir;

TEST(Database, CreatesAMissingFileWithTheVariableTableAndRefusesWhatIsNotADatabase) {
    TempDir dir;
    EXPECT_EQ(Database::open(dir.file("new.db")).column_names("variable"),
              (std::vector<std::string>{"ID", "VN", "ST", "LEN", "TYPE", "PKEY", "DEC"}));
    EXPECT_NE(testing::error_text<DbError>([&] {
                  Database::open(dir.write("notes.db", std::string(4096, 'x')));
              }).find("not a database"),
              std::string::npos);
    EXPECT_THROW(Database::open(dir.file("no/such/folder/x.db")), DbError);
}

TEST(Database, AnOlderLayoutGetsTheDecimalsColumnAndADraftCopyAndBlankDecimalsReadAsNone) {
    TempDir dir;
    const std::string path = dir.file("old.db");
    {
        auto old = Database::open(path);
        old.execute("drop table variable");
        old.execute("drop table variable_draft");
        old.execute(
            "create table variable (ID integer primary key, VN varchar(10), ST integer, "
            "LEN integer, TYPE varchar(1), PKEY varchar(1))");
        old.execute("insert into variable values (1, 'AMOUNT', 1, 6, 'N', 'N')");
    }
    // Opened read-only, the file is left as it is and its rows still read.
    {
        auto read_only = Database::open("file:" + path + "?mode=ro");
        EXPECT_EQ(read_only.column_names("variable").size(), 6U);
        EXPECT_EQ(read_var_defs(read_only, LayoutTable::loaded).at(0).decimals, 0);
        EXPECT_EQ(read_var_defs(read_only, LayoutTable::draft).at(0).name, "AMOUNT");
        EXPECT_FALSE(read_only.table_exists("variable_draft"));
    }
    auto db = Database::open(path);
    EXPECT_EQ(db.column_names("variable").back(), "DEC");
    EXPECT_EQ(read_var_defs(db, LayoutTable::loaded).at(0).decimals, 0);
    // The grid's draft starts as the loaded layout.
    EXPECT_EQ(read_variable_rows(db, LayoutTable::draft),
              read_variable_rows(db, LayoutTable::loaded));
    db.execute("update variable set DEC = 2");
    EXPECT_EQ(read_var_defs(db, LayoutTable::loaded).at(0).decimals, 2);
}

TEST(Database, FailingStatementsRaiseErrorsAndBoundTextIsNeverReadAsSql) {
    TempDir dir;
    auto db = Database::open(dir.file("t.db"));
    EXPECT_THROW(db.execute("DROP TABLE data"), DbError);
    EXPECT_FALSE(db.try_execute("DROP TABLE data"));
    EXPECT_THROW(db.execute("select from where"), DbError);
    EXPECT_THROW(db.prepare("select 1; drop table variable"), DbError);
    EXPECT_THROW(db.prepare("   "), DbError);
    EXPECT_NO_THROW(db.prepare("select 1;  -- a comment\n"));

    db.execute("create table k (a integer primary key, v varchar(20))");
    auto insert = db.prepare("insert into k values (?1, ?2)");
    insert.bind(1, std::int64_t{1}).bind(2, std::string_view("O'Hara'); drop table k; --")).run();
    insert.reset();
    EXPECT_THROW(insert.bind(1, std::int64_t{1}).run(), DbError);
    EXPECT_NO_THROW(insert.bind(1, std::int64_t{2}).run());  // usable again after the failure
    EXPECT_EQ(testing::rows(db, "select v from k where a = 1"),
              std::vector<std::string>{"O'Hara'); drop table k; --"});
}

TEST(Database, AMessageQuotesOnlyTheBeginningOfALongStatement) {
    TempDir dir;
    auto db = Database::open(dir.file("t.db"));
    std::string columns;
    for (int i = 0; i < 100000; ++i) {
        columns += "c" + std::to_string(i) + " double, ";
    }
    const std::string refused = "create table wide (" + columns + "last double)";
    const std::string two = "select 1; select " + std::string(100000, '2');
    db.execute("create table k (a integer primary key)");
    db.execute("insert into k values (1)");
    auto failing = db.prepare("insert into k values (1) -- " + std::string(100000, '-'));
    for (const auto& attempt : std::vector<std::function<void()>>{
             [&] { db.execute(refused); }, [&] { db.prepare(two); }, [&] { failing.run(); }}) {
        const std::string message = testing::error_text<DbError>(attempt);
        EXPECT_LT(message.size(), 400U) << message.substr(0, 400);
        EXPECT_NE(message.find("(in: "), std::string::npos) << message.substr(0, 400);
    }
}

}  // namespace
}  // namespace vesk
