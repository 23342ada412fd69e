#include <gtest/gtest.h>

#include <random>

#include "chitest/list_par_values.h"
#include "chitest/suggest_classes.h"
#include "support/data_table.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

using Ends = std::vector<std::size_t>;

// A group from its (central, state) records at each value.
GroupValueCounts group(const std::string& name,
                       const std::vector<std::pair<std::int64_t, std::int64_t>>& counts) {
    GroupValueCounts g{name, {}};
    for (const auto& [central, other] : counts) {
        g.by_value.push_back({central, other});
    }
    return g;
}

// Whether a class of values [begin, end) expects at least e records of both samples in the
// group: the expected counts computed as a statistician would, n * c / (n + m) and m * c / (n + m).
bool expects_enough(const GroupValueCounts& g, std::size_t begin, std::size_t end, double e) {
    double n = 0;
    double m = 0;
    double c = 0;
    for (std::size_t v = 0; v < g.by_value.size(); ++v) {
        const double central = static_cast<double>(g.by_value[v].central);
        const double other = static_cast<double>(g.by_value[v].other);
        n += central;
        m += other;
        c += v >= begin && v < end ? central + other : 0;
    }
    return n * c / (n + m) >= e - 1e-9 && m * c / (n + m) >= e - 1e-9;
}

bool valid(const std::vector<GroupValueCounts>& groups, const Ends& ends, std::size_t values,
           double e) {
    for (const GroupValueCounts& g : groups) {
        if (!expects_enough(g, 0, values, e)) {
            continue;  // left out
        }
        std::size_t begin = 0;
        for (const std::size_t end : ends) {
            if (!expects_enough(g, begin, end, e)) {
                return false;
            }
            begin = end;
        }
    }
    return true;
}

TEST(SuggestPartition, HandBuiltCounts) {
    struct Case {
        const char* what;
        std::vector<GroupValueCounts> groups;
        Ends ends;
        std::vector<std::string> left_out;
    };
    // A: n = m = 11, a class needs 10 records: cut after 1+2+3+4 = 10, then after 5+5, and the
    // remainder 2 joins the last class. C has 3 state records: never 5 expected; left out, so A
    // alone decides. D has one sample only: nothing to compare, neither a condition nor left out.
    const Case cases[] = {
        {"A alone",
         {group("A", {{1, 0}, {1, 1}, {2, 1}, {2, 2}, {2, 3}, {2, 3}, {1, 1}})},
         {4, 7},
         {}},
        {"C too small",
         {group("A", {{5, 5}, {5, 5}, {5, 5}}), group("C", {{9, 1}, {9, 1}, {9, 1}})},
         {1, 2, 3},
         {"C"}},
        {"one sample", {group("A", {{5, 5}, {5, 5}}), group("D", {{4, 0}, {4, 0}})}, {1, 2}, {}},
        {"none can", {group("A", {{1, 1}, {1, 1}}), group("B", {{2, 0}, {0, 2}})}, {2}, {"A", "B"}},
        {"no values", {}, {}, {}},
    };
    for (const auto& [what, groups, ends, left_out] : cases) {
        const std::size_t values = groups.empty() ? 0 : groups[0].by_value.size();
        const ClassPartition p = suggest_partition(groups, values, 5);
        EXPECT_EQ(p.ends, ends) << what;
        std::vector<std::string> names;
        for (const LeftOutGroup& g : p.left_out) {
            names.push_back(g.name);
        }
        EXPECT_EQ(names, left_out) << what;
        EXPECT_TRUE(valid(groups, p.ends, values, 5)) << what;
    }
}

// Every suggestion meets the condition in every included group, and no partition into adjacent
// classes with more classes does: all 2^(k-1) partitions of small random count tables.
TEST(SuggestPartition, NoFinerAdjacentPartitionMeetsTheCondition) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 300; ++round) {
        const std::size_t values = 1 + random() % 7;
        std::vector<GroupValueCounts> groups(1 + random() % 3);
        for (std::size_t g = 0; g < groups.size(); ++g) {
            groups[g].name = std::to_string(g);
            for (std::size_t v = 0; v < values; ++v) {
                groups[g].by_value.push_back({static_cast<std::int64_t>(random() % 9),
                                              static_cast<std::int64_t>(random() % 9)});
            }
        }
        const double e = round % 2 ? 5 : 2.5;
        const ClassPartition p = suggest_partition(groups, values, e);
        std::size_t finest = 0;
        for (std::uint32_t cuts = 0; cuts < (1u << (values - 1)); ++cuts) {
            Ends ends;
            for (std::size_t v = 1; v < values; ++v) {
                if (cuts & (1u << (v - 1))) {
                    ends.push_back(v);
                }
            }
            ends.push_back(values);
            if (valid(groups, ends, values, e)) {
                finest = std::max(finest, ends.size());
            }
        }
        bool any_included = false;
        for (const GroupValueCounts& g : groups) {
            any_included = any_included || expects_enough(g, 0, values, e);
        }
        if (!any_included) {
            EXPECT_EQ(p.ends, Ends{values}) << "round " << round;
            continue;
        }
        EXPECT_TRUE(valid(groups, p.ends, values, e)) << "round " << round;
        EXPECT_EQ(p.ends.size(), finest) << "round " << round;
    }
}

TEST(SuggestClasses, CharacterParameterInListingOrderFromTheData) {
    testing::TempState t;
    testing::make_data(
        t.state, {{"STATE", 1, 2, "C", "N"}, {"SAMPLE", 3, 1, "N", "N"}, {"CODE", 4, 2, "C", "N"}});
    // State 01 needs 10 records a class; 02 holds 2 central records and is left out.
    testing::add_rows(t.state, "('01', 1, 'b'), ('01', 2, 'b')", 3);
    testing::add_rows(t.state, "('01', 1, 'a'), ('01', 2, 'a')", 5);
    testing::add_rows(t.state, "('01', 1, 'c'), ('01', 2, 'c')", 1);
    testing::add_rows(t.state, "('01', 1, 'd'), ('01', 2, 'd')", 2);
    testing::add_rows(t.state, "('02', 1, 'a'), ('02', 2, 'c'), ('02', 2, 'd')", 1);
    testing::add_rows(t.state, "('02', 2, 'b')", 20);
    t.state.grp_vars = "STATE";
    t.state.sample_var = "SAMPLE";
    t.state.param_var = "CODE";
    list_par_values(t.state);

    const ClassSuggestion s = suggest_classes(t.state, 5);
    std::vector<std::vector<std::string>> classes;
    for (const ClassDef& def : s.scheme.class_defs(t.state.par_vals)) {
        classes.push_back(def.members);
    }
    EXPECT_EQ(classes, (std::vector<std::vector<std::string>>{{"a"}, {"b", "c", "d"}}));
    ASSERT_EQ(s.left_out.size(), 1u);
    EXPECT_EQ(left_out_text(s.left_out[0], 5),
              "group 02 is left out: 1 central and 22 state records cannot expect 5 of each "
              "sample");
}

}  // namespace
}  // namespace vesk
