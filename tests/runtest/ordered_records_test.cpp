#include "runtest/ordered_records.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace vesk {
namespace {

struct Visit {
    std::vector<std::string> records;
    RecordOrder order;
};

// Every record as visited, each cell written out exactly (kind, the bits of a number, the text).
Visit visited(Database& db, std::int64_t memory_limit) {
    Visit out;
    const auto write = [](const Cell& cell) {
        return cell.kind == Cell::Kind::null ? std::string("null")
               : cell.kind == Cell::Kind::number
                   ? "n" + std::to_string(std::bit_cast<std::uint64_t>(cell.number))
                   : "t'" + std::string(cell.text) + "'";
    };
    out.order = visit_ordered_records(
        db, {{"G1", "G2"}, "S", "P"},
        [&](const std::vector<Cell>& groups, const Cell& sample, const Cell& param) {
            out.records.push_back(write(groups[0]) + " " + write(groups[1]) + " " + write(sample) +
                                  " " + write(param));
        },
        memory_limit);
    return out;
}

// Table data of rows records, i = 0, 1, ..., whose columns G1, G2, S and P are the expressions of i
// in columns.
void fill_data(Database& db, int rows, const std::string& columns) {
    db.execute("create table data (G1 varchar(3), G2 double, S double, P double)");
    db.execute("with recursive n(i) as (select 0 union all select i + 1 from n where i < " +
               std::to_string(rows - 1) + ") insert into data select " + columns + " from n");
}

struct Pools {
    const char* what;
    std::vector<std::string> g1, g2, s, p;  // SQL literals drawn at random
};

// The order in memory must be the engine's own, whatever the kinds of the values: the engine's
// ORDER BY is the reference.
TEST(OrderedRecords, MemoryOrderIsTheEngineOrder) {
    const Pools cases[] = {
        {"survey-like: text and numeric groups, two samples, many ties",
         {"'01'", "'02'", "'1'", "'10'", "''"},
         {"1", "2", "-3.5", "0"},
         {"1", "2"},
         {"1", "2", "2.5", "-1", "1e300", "0.1", "0.30000000000000004"}},
        {"mixed kinds in one column, text prefixes, numbers that read alike",
         {"NULL", "'a'", "'ab'", "'a '", "'B'", "'\xc3\xa9'"},
         {"NULL", "'x'", "1", "1.0000000000000002", "1e-320", "-0.5"},
         {"NULL", "'x1'", "1", "3", "'y'"},
         {"0", "1", "1.0000000000000002", "-2", "7"}},
    };
    for (const Pools& pools : cases) {
        testing::TempState t;
        Database& db = t.state.db_conn;
        db.execute("create table data (G1 varchar(3), G2 double, S double, P double)");
        std::mt19937 random(7);
        const auto pick = [&](const std::vector<std::string>& pool) {
            return pool[random() % pool.size()];
        };
        db.execute("begin");  // one commit, not one a row
        for (int i = 0; i < 600; ++i) {
            db.execute("insert into data values (" + pick(pools.g1) + ", " + pick(pools.g2) + ", " +
                       pick(pools.s) + ", " + pick(pools.p) + ")");
        }
        db.execute("commit");
        const std::vector<std::string> by_engine = visited(db, 0).records;
        ASSERT_EQ(by_engine.size(), 600u) << pools.what;
        const Visit in_memory = visited(db, records_ordered_in_memory);
        EXPECT_EQ(in_memory.order, RecordOrder::in_memory) << pools.what;
        EXPECT_EQ(in_memory.records, by_engine) << pools.what;
        // 100 records in memory at a time: six batches put aside, each group's runs read back.
        const Visit by_group = visited(db, 100);
        EXPECT_EQ(by_group.order, RecordOrder::in_memory_by_group) << pools.what;
        EXPECT_EQ(by_group.records, by_engine) << pools.what;
    }
}

// Values the memory order does not take are left to the engine: a group with more records than
// the limit, a text parameter, a sample with more values than the memory key holds. A table over
// the limit whose groups fit is ordered group by group. Every way the order is the engine's.
TEST(OrderedRecords, FallsBackToTheEngineForWhatMemoryDoesNotHold) {
    const struct {
        const char* what;
        std::string param;
        std::string sample;
        std::int64_t limit;
        RecordOrder order;
    } cases[] = {
        {"1000 records, as many as the limit", "i % 5", "i % 2", 1000, RecordOrder::in_memory},
        {"1000 records, one over the limit: two groups of 500", "i % 5", "i % 2", 999,
         RecordOrder::in_memory_by_group},
        {"a group as large as the limit", "i % 5", "i % 2", 500, RecordOrder::in_memory_by_group},
        {"a group one over the limit", "i % 5", "i % 2", 499, RecordOrder::by_engine},
        {"a text parameter", "case when i % 3 = 0 then 'x' else i % 5 end", "i % 2",
         records_ordered_in_memory, RecordOrder::by_engine},
        {"256 sample values", "i % 5", "i % 256", records_ordered_in_memory,
         RecordOrder::in_memory},
        {"257 sample values", "i % 5", "i % 257", records_ordered_in_memory,
         RecordOrder::by_engine},
    };
    for (const auto& c : cases) {
        testing::TempState t;
        Database& db = t.state.db_conn;
        fill_data(db, 1000, "'g', i % 2, " + c.sample + ", " + c.param);
        const Visit visit = visited(db, c.limit);
        EXPECT_EQ(visit.order, c.order) << c.what;
        EXPECT_EQ(visit.records, visited(db, 0).records) << c.what;
    }
}

// Enough records for the groups to be ordered by two threads, each taking whole groups: balanced
// groups, one group holding most records, and a single group.
TEST(OrderedRecords, GroupsOrderedByTwoThreadsKeepTheEngineOrder) {
    const struct {
        const char* what;
        std::string g1;
    } cases[] = {
        {"60 groups of about equal size", "(i * 7919) % 30"},
        {"one group of nine records in ten", "case when i % 10 = 0 then i % 7 else 'big' end"},
        {"one group", "'one'"},
    };
    for (const auto& c : cases) {
        testing::TempState t;
        Database& db = t.state.db_conn;
        fill_data(db, 40000, c.g1 + ", i % 2, (i * 31) % 3, ((i * 2654435761) % 1000) / 8.0");
        const Visit visit = visited(db, records_ordered_in_memory);
        EXPECT_EQ(visit.order, RecordOrder::in_memory) << c.what;
        EXPECT_EQ(visit.records, visited(db, 0).records) << c.what;
    }
}

}  // namespace
}  // namespace vesk
