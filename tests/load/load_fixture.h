#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "support/temp_dir.h"

namespace vesk::testing {

// A database with a record layout in table variable and an input file to load.
class LoadFixture : public ::testing::Test {
  protected:
    // HHID C 1-3 key, STATE C 4-5, SEX N 6, AGE N 7-9.
    static std::vector<VarDef> four_variables() {
        return {{"HHID", 1, 3, "C", "Y"},
                {"STATE", 4, 2, "C", "N"},
                {"SEX", 6, 1, "N", "N"},
                {"AGE", 7, 3, "N", "N"}};
    }

    void set_layout(const std::vector<VarDef>& defs) {
        Database& db = t.state.db_conn;
        Transaction transaction(db);
        db.execute("delete from variable");
        auto insert = db.prepare("insert into variable values (?1, ?2, ?3, ?4, ?5, ?6)");
        std::int64_t id = 0;
        for (const VarDef& def : defs) {
            insert.bind(1, ++id).bind(2, def.name).bind(3, def.start).bind(4, def.length);
            insert.bind(5, def.type).bind(6, def.key).run();
            insert.reset();
        }
        transaction.commit();
    }

    void set_input(std::string_view content) {
        t.state.inp_file = t.dir.write("input.txt", content);
    }

    // Every row of the query, each value as text.
    std::vector<std::vector<std::string>> rows(const std::string& sql) {
        auto query = t.state.db_conn.prepare(sql);
        std::vector<std::vector<std::string>> result;
        while (query.step()) {
            std::vector<std::string> row;
            for (int i = 0; i < query.column_count(); ++i) {
                row.push_back(query.text(i));
            }
            result.push_back(row);
        }
        return result;
    }

    TempState t;
};

}  // namespace vesk::testing
