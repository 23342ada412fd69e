#include <gtest/gtest.h>

#include "chitest/list_par_values.h"
#include "core/error.h"
#include "support/temp_dir.h"
#include "survey_data.h"

namespace vesk {
namespace {

using testing::add_records;
using testing::make_survey;
using testing::TempState;

const VarDef sample_def{"SAMPLE", 4, 1, "N", "N"};

TEST(ListParValues, EveryDistinctValueInOrderWithItsFrequency) {
    struct Case {
        VarDef param;
        std::vector<testing::Value> stored;  // one record each
        std::vector<std::pair<std::string, std::int64_t>> listed;
    };
    const Case cases[] = {
        {{"AGE", 5, 4, "N", "N"},
         {2.0, 10.0, 2.0, 0.84, -1.5, nullptr, 2.0},
         {{"", 1}, {"-1.5", 1}, {"0.84", 1}, {"2", 3}, {"10", 1}}},
        {{"CODE", 5, 3, "C", "N"},
         {std::string("AB "), std::string("AB"), std::string("O'H"), std::string("AB ")},
         {{"AB", 1}, {"AB ", 2}, {"O'H", 1}}},
    };
    for (const auto& [param, stored, listed] : cases) {
        TempState t;
        make_survey(t.state, sample_def, param);
        for (const auto& value : stored) {
            add_records(t.state, std::string("01"), 1, 1.0, value, 1);
        }
        t.state.param_var = param.name;
        list_par_values(t.state);
        ASSERT_EQ(t.state.par_val_count(), static_cast<std::int64_t>(listed.size())) << param.name;
        for (std::size_t i = 0; i < listed.size(); ++i) {
            const ParValue& value = t.state.par_vals[i];
            EXPECT_EQ(value.value, listed[i].first) << param.name << " " << i;
            EXPECT_EQ(value.freq, listed[i].second) << value.value;
            EXPECT_EQ(value.len, param.length);
            EXPECT_EQ(value.type, param.type);
        }
    }
}

TEST(ListParValues, AQueryThatCannotRunIsAnErrorAndLeavesNoValues) {
    TempState t;
    make_survey(t.state, sample_def, {"P", 5, 1, "N", "N"});
    add_records(t.state, std::string("01"), 1, 1.0, 1.0, 2);
    t.state.param_var = "P";
    list_par_values(t.state);
    ASSERT_EQ(t.state.par_val_count(), 1);

    // Not a defined variable, a defined name the data lack, no data at all.
    t.state.param_var = "NOSUCH";
    EXPECT_THROW(list_par_values(t.state), Error);
    EXPECT_EQ(t.state.par_val_count(), 0);
    t.state.var_defs.push_back({"EXTRA", 6, 1, "N", "N"});
    t.state.param_var = "EXTRA";
    EXPECT_THROW(list_par_values(t.state), Error);
    t.state.db_conn.execute("drop table data");
    t.state.param_var = "P";
    EXPECT_THROW(list_par_values(t.state), Error);
    EXPECT_EQ(t.state.par_val_count(), 0);
}

}  // namespace
}  // namespace vesk
