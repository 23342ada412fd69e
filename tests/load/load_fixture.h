#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "support/data_table.h"
#include "support/temp_dir.h"

namespace vesk::testing {

// A database with a record layout in table variable (the four variables unless a test sets
// another) and an input file to load.
class LoadFixture : public ::testing::Test {
  protected:
    void SetUp() override { set_layout(four_variables()); }
    void set_layout(const std::vector<VarDef>& defs) { write_layout(t.state.db_conn, defs); }
    void set_input(std::string_view content) {
        t.state.inp_file = t.dir.write("input.txt", content);
    }
    std::vector<std::string> rows(const std::string& sql) {
        return testing::rows(t.state.db_conn, sql);
    }

    TempState t;
};

}  // namespace vesk::testing
