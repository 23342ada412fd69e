#include <gtest/gtest.h>

#include "chitest/class_lines.h"
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
    // Not a defined variable, a defined name the data lack, no data at all.
    for (const std::string param : {"NOSUCH", "EXTRA", "P"}) {
        TempState t;
        make_data(t.state, {sample_def, {"P", 2, 1, "N", "N"}});
        add_rows(t.state, "(1, 1), (1, 1)");
        t.state.var_defs.push_back({"EXTRA", 3, 1, "N", "N"});
        t.state.param_var = "P";
        list_par_values(t.state);
        ASSERT_EQ(t.state.par_val_count(), 1);
        t.state.db_conn.execute(param == "P" ? "drop table data" : "select 1");
        t.state.param_var = param;
        EXPECT_THROW(list_par_values(t.state), Error) << param;
        EXPECT_EQ(t.state.par_val_count(), 0) << param;
    }
}

const std::string blanks(std::size_t n) {
    return std::string(n, ' ');
}

TEST(ValueLines, HashStandsInColumnLenPlusElevenUnderTheHeading) {
    const std::pair<ParValue, std::string> cases[] = {
        {{"1", 5, 1, "N"}, "1" + blanks(10) + "#        5"},
        {{"0.84", 12345678, 4, "N"}, "0.84" + blanks(10) + "# 12345678"},
        {{"AB ", 3, 3, "C"}, "AB " + blanks(10) + "#        3"},
        {{"", 2, 3, "C"}, blanks(13) + "#        2"},
        {{"O'H", 1, 3, "C"}, "O'H" + blanks(10) + "#        1"},
        // A number written with more digits than its field keeps a blank; a field wider than
        // 64 blanks allow; a count of nine digits is not cut.
        {{"0.333333333333333", 1, 1, "N"}, "0.333333333333333 #        1"},
        {{"A", 1, 100, "C"}, "A" + blanks(64) + "#        1"},
        {{"7", 123456789, 1, "N"}, "7" + blanks(10) + "# 123456789"},
    };
    for (const auto& [value, line] : cases) {
        EXPECT_EQ(value_line(value), line) << value.value;
        if (value.value.size() <= static_cast<std::size_t>(value.len) && value.len <= 64) {
            EXPECT_EQ(value_heading("P", value.len).find("Total Frequency"), line.find('#'));
        }
    }
    EXPECT_EQ(value_heading("AGEGRP", 1), "AGEGRP" + blanks(5) + "Total Frequency");
    EXPECT_EQ(value_heading("AVERYLONGNAME", 1), "AVERYLONGNAME Total Frequency");
}

TEST(Classes, InListTextAndMembers) {
    struct Case {
        std::vector<ParValue> members;
        std::string values;
        std::string type;
    };
    const Case cases[] = {
        {{{"1", 5, 1, "N"}, {"2", 7, 1, "N"}}, "1,2", "N"},
        {{{"-0.5", 1, 4, "N"}}, "-0.5", "N"},
        {{{"AB ", 4, 3, "C"}, {"C", 6, 3, "C"}}, "'AB ','C  '", "C"},
        {{{"O'H", 2, 3, "C"}}, "'O'H'", "C"},
        {{{"", 3, 2, "C"}}, "'  '", "C"},
    };
    for (const auto& [members, values, type] : cases) {
        const ClassDef class_def = make_class(members);
        EXPECT_EQ(class_def.values, values);
        EXPECT_EQ(class_def.type, type) << values;
        ASSERT_EQ(class_def.members.size(), members.size());
        for (std::size_t i = 0; i < members.size(); ++i) {
            EXPECT_EQ(class_def.members[i], members[i].value) << values;
        }
    }
    EXPECT_EQ(total_frequency({{"1", 5, 1, "N"}, {"2", 7, 1, "N"}}), 12);
}

TEST(Classes, ListLinesAreNumberedWithTheirColumnsUnderTheHeading) {
    struct Case {
        const char* what;
        std::vector<ListedClass> classes;
        std::string heading;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"no class: the heading alone", {}, "No.  Class values  Total Frequency", {}},
        {"values narrower than their heading",
         {{"1,3", 6}, {"2", 123456789}},
         "No.  Class values  Total Frequency",
         {"  1  1,3           #        6", "  2  2             # 123456789"}},
        {"values wider than their heading, more than 64 blanks to fill",
         {{"'" + std::string(78, 'x') + "'", 3}, {"'AB '", 40}},
         "No.  Class values" + std::string(68, ' ') + "  Total Frequency",
         {"  1  '" + std::string(78, 'x') + "'  #        3",
          "  2  'AB '" + std::string(75, ' ') + "  #       40"}},
    };
    for (const Case& c : cases) {
        const ClassListText text = class_list_text(c.classes);
        EXPECT_EQ(text.heading, c.heading) << c.what;
        EXPECT_EQ(text.lines, c.lines) << c.what;
        for (const std::string& line : text.lines) {
            EXPECT_EQ(line.find('#'), text.heading.find("Total Frequency")) << c.what;
        }
    }
    // A thousand classes: the numbers take four columns, right-aligned.
    const ClassListText many = class_list_text(std::vector<ListedClass>(1000, {"7", 1}));
    EXPECT_TRUE(many.heading.starts_with("No.   Class values")) << many.heading;
    EXPECT_TRUE(many.lines[8].starts_with("   9  7 ")) << many.lines[8];
    EXPECT_TRUE(many.lines[999].starts_with("1000  7 ")) << many.lines[999];
}

}  // namespace
}  // namespace vesk
