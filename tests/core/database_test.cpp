#include <gtest/gtest.h>

#include "core/database.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

using testing::TempDir;

TEST(Database, CreatesAMissingFileWithTheVariableTable) {
    TempDir dir;
    auto db = Database::open(dir.file("new.db"));
    EXPECT_TRUE(db.table_exists("variable"));
    EXPECT_EQ(db.column_names("variable"),
              (std::vector<std::string>{"ID", "VN", "ST", "LEN", "TYPE", "PKEY"}));
}

TEST(Database, RefusesWhatIsNotADatabaseWithTheEnginesDescription) {
    TempDir dir;
    const std::string text_file = dir.write("notes.db", std::string(4096, 'x'));
    try {
        Database::open(text_file);
        FAIL() << "expected an error";
    } catch (const DbError& e) {
        EXPECT_NE(std::string(e.what()).find("not a database"), std::string::npos) << e.what();
    }
    EXPECT_THROW(Database::open(dir.file("no/such/folder/x.db")), DbError);
}

TEST(Database, ReadsFieldsByPositionOrByNameWithoutRegardToCase) {
    TempDir dir;
    auto db = Database::open(dir.file("t.db"));
    db.execute("create table t (cnt double, frq1 double, name varchar(5), other varchar(5))");
    db.execute("insert into t values (7, 0.84, 'AB ', '')");
    db.execute("insert into t values (null, -0.436435780471985, null, 'x')");
    auto q = db.prepare("select cnt, frq1, name, other from t order by rowid");
    ASSERT_TRUE(q.step());
    EXPECT_EQ(q.column_count(), 4);
    EXPECT_EQ(q.column_name(1), "frq1");
    EXPECT_EQ(q.text("CNT"), "7");
    EXPECT_EQ(q.text("Frq1"), "0.84");
    EXPECT_EQ(q.text(2), "AB ");  // trailing blank kept
    EXPECT_TRUE(q.is_null_or_empty(3));
    EXPECT_FALSE(q.is_null(3));
    ASSERT_TRUE(q.step());
    EXPECT_TRUE(q.is_null(0));
    EXPECT_TRUE(q.is_null_or_empty(0));
    EXPECT_EQ(q.text(0), "");
    EXPECT_EQ(q.text(1), "-0.436435780471985");
    EXPECT_EQ(q.text(2), "");
    EXPECT_FALSE(q.step());
    EXPECT_THROW(q.column_index("nothing"), DbError);
}

TEST(Database, FailingStatementsRaiseErrors) {
    TempDir dir;
    auto db = Database::open(dir.file("t.db"));
    EXPECT_THROW(db.execute("DROP TABLE data"), DbError);
    EXPECT_FALSE(db.try_execute("DROP TABLE data"));
    EXPECT_THROW(db.execute("select from where"), DbError);
    EXPECT_THROW(db.prepare("select 1; drop table variable"), DbError);
    EXPECT_THROW(db.prepare("   "), DbError);
    EXPECT_NO_THROW(db.prepare("select 1;  -- a comment\n"));
    EXPECT_TRUE(db.table_exists("variable"));

    db.execute("create table k (a integer primary key)");
    auto insert = db.prepare("insert into k values (?1)");
    insert.bind(1, std::int64_t{1}).run();
    insert.reset();
    EXPECT_THROW(insert.bind(1, std::int64_t{1}).run(), DbError);
    // The statement is usable again after the failure.
    EXPECT_NO_THROW(insert.bind(1, std::int64_t{2}).run());
}

TEST(Database, BoundTextIsNeverReadAsSql) {
    TempDir dir;
    auto db = Database::open(dir.file("t.db"));
    db.execute("create table t (v varchar(20))");
    auto insert = db.prepare("insert into t values (?1)");
    insert.bind(1, std::string_view("O'Hara'); drop table t; --")).run();
    auto q = db.prepare("select v from t");
    ASSERT_TRUE(q.step());
    EXPECT_EQ(q.text(0), "O'Hara'); drop table t; --");
}

TEST(Database, TransactionRollsBackUnlessCommitted) {
    TempDir dir;
    auto db = Database::open(dir.file("t.db"));
    db.execute("create table t (a)");
    {
        Transaction tx(db);
        db.execute("insert into t values (1)");
    }
    {
        Transaction tx(db, Transaction::Lock::immediate);
        db.execute("insert into t values (2)");
        tx.commit();
    }
    auto q = db.prepare("select group_concat(a) from t");
    ASSERT_TRUE(q.step());
    EXPECT_EQ(q.text(0), "2");
}

TEST(Database, ASecondConnectionReadsWhileTheFirstWrites) {
    TempDir dir;
    auto writer = Database::open(dir.file("t.db"));
    auto reader = Database::open(dir.file("t.db"));
    writer.execute("insert into variable (ID, VN) values (1, 'A')");
    Transaction tx(writer, Transaction::Lock::immediate);
    writer.execute("insert into variable (ID, VN) values (2, 'B')");
    auto count = reader.prepare("select count(*) from variable");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.integer(0), 1);  // the uncommitted row is not seen, and nothing waits
    count.reset();
    tx.commit();
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.integer(0), 2);
}

}  // namespace
}  // namespace vesk
