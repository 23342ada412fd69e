#include "chitest/data_rewrite.h"

#include <gtest/gtest.h>

#include "support/data_table.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

using Rows = std::vector<std::string>;

const char* const every_other_column = "select A, \"B C\", N from data order by A, N";

// Values that copy badly when a column is named, quoted or converted wrongly: quotes, a blank, a
// null, numbers at the ends of a double's precision and an integer beyond it.
void fill(Database& db) {
    db.execute(
        "insert into data (A, \"B C\", N, CLASS) values ('x''y', ' b ', 0.1, 7), "
        "('', null, 1e308, null), ('z', 'c', 9007199254740993, 2), ('a\"b', '', -0.0, 1)");
}

// The table keeps its definition, its key and every value but CLASS, which takes the expression
// of the old record; the table set aside is gone. Tables with a key of their own, with a key the
// engine indexes, and without a key.
TEST(DataRewrite, KeepsTheDefinitionTheKeyAndEveryOtherValue) {
    const char* const definitions[] = {
        "create table data (A varchar(3), \"B C\" varchar(2), N double, CLASS double, "
        "primary key (A, N)) without rowid",
        "create table data (A varchar(3) primary key, \"B C\" varchar(2), N double, CLASS double)",
        "create table data (A varchar(3), \"B C\" varchar(2), N double, CLASS double)",
    };
    for (const char* definition : definitions) {
        testing::TempState t;
        Database& db = t.state.db_conn;
        db.execute(definition);
        fill(db);
        const Rows others = testing::rows(db, every_other_column);
        const Rows schema =
            testing::rows(db, "select type, name, tbl_name, sql from sqlite_master");

        Transaction transaction(db);
        rewrite_data(db, "CLASS", "length(A) + ?1",
                     [](Statement& copy) { copy.bind(1, std::int64_t{10}); });
        transaction.commit();

        EXPECT_EQ(testing::rows(db, every_other_column), others) << definition;
        EXPECT_EQ(testing::rows(db, "select A, CLASS from data order by A"),
                  (Rows{",10", "a\"b,13", "x'y,13", "z,11"}))
            << definition;
        EXPECT_EQ(testing::rows(db, "select type, name, tbl_name, sql from sqlite_master"), schema)
            << definition;
        if (std::string(definition).find("primary key") != std::string::npos) {
            EXPECT_THROW(db.execute("insert into data select * from data limit 1"), DbError)
                << definition;
        }
    }
}

// The engine refuses the copy part way (the file may not grow): the caller's transaction gives
// back the table as it was, under its name.
TEST(DataRewrite, ARefusedCopyLeavesTheTableAsItWas) {
    testing::TempState t;
    Database& db = t.state.db_conn;
    db.execute("create table data (A varchar(3), \"B C\" varchar(2), N double, CLASS double)");
    db.execute(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 20000) "
        "insert into data select 'r' || i, 'x', i, null from n");
    const Rows before = testing::rows(db, "select * from data order by N");
    const Rows schema = testing::rows(db, "select type, name, sql from sqlite_master");
    Statement pages = db.prepare("pragma page_count");
    pages.step();
    db.execute("pragma max_page_count = " + std::to_string(pages.integer(0) + 2));
    {
        Transaction transaction(db);
        EXPECT_THROW(rewrite_data(db, "CLASS", "1", [](Statement&) {}), DiskFull);
    }
    EXPECT_EQ(testing::rows(db, "select * from data order by N"), before);
    EXPECT_EQ(testing::rows(db, "select type, name, sql from sqlite_master"), schema);
}

// What would be lost or left pointing nowhere were the table written anew keeps it in place.
TEST(DataRewrite, OnlyATableNothingRefersToIsWrittenAnew) {
    const struct {
        const char* what;
        const char* definition;
        const char* other;
        bool rewritten;
    } cases[] = {
        {"nothing else", "create table data (A varchar(3), CLASS double)", nullptr, true},
        {"the index of its key", "create table data (A varchar(3) primary key, CLASS double)",
         nullptr, true},
        {"an index of another table", "create table data (A varchar(3), CLASS double)",
         "create index other_a on other (A)", true},
        {"an index of its own", "create table data (A varchar(3), CLASS double)",
         "create index data_a on data (A)", false},
        {"a view", "create table data (A varchar(3), CLASS double)",
         "create view data_a as select A from data", false},
        {"a trigger", "create table data (A varchar(3), CLASS double)",
         "create trigger data_a after update on data begin select 1; end", false},
    };
    for (const auto& c : cases) {
        testing::TempState t;
        Database& db = t.state.db_conn;
        db.execute(c.definition);
        db.execute("create table other (A varchar(3))");
        if (c.other != nullptr) {
            db.execute(c.other);
        }
        EXPECT_EQ(data_can_be_rewritten(db), c.rewritten) << c.what;
    }
}

}  // namespace
}  // namespace vesk
