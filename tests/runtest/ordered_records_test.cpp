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

// Every record as visited, each cell written out exactly (kind, the bits of a number, the text).
std::vector<std::string> visited(Database& db, std::int64_t memory_limit) {
    std::vector<std::string> out;
    const auto write = [](const Cell& cell) {
        return cell.kind == Cell::Kind::null ? std::string("null")
               : cell.kind == Cell::Kind::number
                   ? "n" + std::to_string(std::bit_cast<std::uint64_t>(cell.number))
                   : "t'" + std::string(cell.text) + "'";
    };
    visit_ordered_records(
        db, {{"G1", "G2"}, "S", "P"},
        [&](const std::vector<Cell>& groups, const Cell& sample, const Cell& param) {
            out.push_back(write(groups[0]) + " " + write(groups[1]) + " " + write(sample) + " " +
                          write(param));
        },
        memory_limit);
    return out;
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
        for (int i = 0; i < 600; ++i) {
            db.execute("insert into data values (" + pick(pools.g1) + ", " + pick(pools.g2) + ", " +
                       pick(pools.s) + ", " + pick(pools.p) + ")");
        }
        const std::vector<std::string> by_engine = visited(db, -1);
        ASSERT_EQ(by_engine.size(), 600u) << pools.what;
        EXPECT_EQ(visited(db, records_ordered_in_memory), by_engine) << pools.what;
    }
}

// Values the memory order does not take are left to the engine: a text parameter, a sample with
// more values than the memory key holds.
TEST(OrderedRecords, FallsBackToTheEngineForWhatMemoryDoesNotHold) {
    const struct {
        const char* what;
        std::string param;
        std::string sample;
    } cases[] = {
        {"a text parameter", "case when i % 3 = 0 then 'x' else i % 5 end", "i % 2"},
        {"300 sample values", "i % 5", "i % 300"},
    };
    for (const auto& c : cases) {
        testing::TempState t;
        Database& db = t.state.db_conn;
        db.execute("create table data (G1 varchar(3), G2 double, S double, P double)");
        db.execute(
            "with recursive n(i) as (select 0 union all select i + 1 from n where i < 999) "
            "insert into data select 'g', i % 2, " +
            c.sample + ", " + c.param + " from n");
        EXPECT_EQ(visited(db, records_ordered_in_memory), visited(db, -1)) << c.what;
    }
}

}  // namespace
}  // namespace vesk
