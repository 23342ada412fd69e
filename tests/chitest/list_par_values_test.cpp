#include <gtest/gtest.h>

#include "chitest/list_par_values.h"
#include "core/error.h"
#include "support/data_table.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

using testing::add_rows;
using testing::make_data;
using testing::TempState;

const VarDef sample_def{"SAMPLE", 1, 1, "N", "N"};

TEST(ListParValues, EveryDistinctValueInOrderWithItsFrequency) {
    struct Case {
        VarDef param;
        const char* stored;  // (sample, parameter) records
        std::vector<std::pair<std::string, std::int64_t>> listed;
    };
    const Case cases[] = {
        {{"AGE", 2, 4, "N", "N"},
         "(1, 2), (1, 10), (1, 2), (1, 0.84), (1, -1.5), (1, null), (1, 2)",
         {{"", 1}, {"-1.5", 1}, {"0.84", 1}, {"2", 3}, {"10", 1}}},
        {{"CODE", 2, 3, "C", "N"},
         "(1, 'AB '), (1, 'AB'), (1, 'O''H'), (1, 'AB ')",
         {{"AB", 1}, {"AB ", 2}, {"O'H", 1}}},
    };
    for (const auto& [param, stored, listed] : cases) {
        TempState t;
        make_data(t.state, {sample_def, param});
        add_rows(t.state, stored);
        t.state.param_var = param.name;
        list_par_values(t.state);
        std::vector<std::pair<std::string, std::int64_t>> found;
        for (const ParValue& value : t.state.par_vals) {
            found.emplace_back(value.value, value.freq);
            EXPECT_EQ(value.len, param.length);
            EXPECT_EQ(value.type, param.type);
        }
        EXPECT_EQ(found, listed) << param.name;
    }
}

TEST(ListParValues, AQueryThatCannotRunIsAnErrorAndLeavesNoValues) {
    TempState t;
    make_data(t.state, {sample_def, {"P", 2, 1, "N", "N"}});
    add_rows(t.state, "(1, 1), (1, 1)");
    t.state.param_var = "P";
    list_par_values(t.state);
    ASSERT_EQ(t.state.par_val_count(), 1);

    // Not a defined variable, a defined name the data lack, no data at all.
    t.state.param_var = "NOSUCH";
    EXPECT_THROW(list_par_values(t.state), Error);
    EXPECT_EQ(t.state.par_val_count(), 0);
    t.state.var_defs.push_back({"EXTRA", 3, 1, "N", "N"});
    t.state.param_var = "EXTRA";
    EXPECT_THROW(list_par_values(t.state), Error);
    t.state.db_conn.execute("drop table data");
    t.state.param_var = "P";
    EXPECT_THROW(list_par_values(t.state), Error);
    EXPECT_EQ(t.state.par_val_count(), 0);
}

}  // namespace
}  // namespace vesk
