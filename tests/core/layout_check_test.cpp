#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/identifier.h"
#include "core/layout_check.h"

namespace vesk {
namespace {

constexpr EmptyKey enter = EmptyKey::passes;
constexpr EmptyKey leave = EmptyKey::fails;
const std::string name32 = "ABCDEFGHIJABCDEFGHIJABCDEFGHIJAB";

// Every refusal names the value and the rule; a position names the record length.
TEST(LayoutCell, PassesOrNamesTheValueAndTheRuleInARecordOf80) {
    struct Case {
        int column;
        std::string stored_start;
        EmptyKey empty_key;
        std::string text;
        std::string message;  // empty: the cell passes
    };
    const std::string length_rule = "Min 1 Max 32 Character Name please: ";
    const std::string type_rule = "Field Type: 'C' for Character and 'N' for Numeric please";
    const std::string key_rule = "Primary KEY: 'Y' for YES 'N' for NO please";
    // A name is not trimmed, and counts characters, not bytes; a length needs its start stored.
    const Case cases[] = {
        {column_name, "", enter, name32, ""},
        {column_name, "", enter, "INCOME_TOTAL_YEAR", ""},
        {column_name, "", enter, name32 + "K",
         length_rule + "\"" + name32 + "K\" has 33 characters"},
        {column_name, "", enter, "\u00c4" + name32.substr(1),
         "Name \"\u00c4" + name32.substr(1) + "\" does not start with a letter"},
        {column_name, "", leave, "", length_rule + "the name is empty"},
        {column_name, "", enter, " HHID", "Name \" HHID\" does not start with a letter"},
        {column_name, "", enter, "AGE GRP",
         "Name \"AGE GRP\" holds a blank: a name has letters, "
         "digits and _ only"},
        {column_name, "", enter, "ORDER", "Name \"ORDER\" is a word the database reserves"},
        {column_name, "", enter, "class",
         "Name \"class\" is the column CLASS that vesk adds to the data itself"},
        {column_start, "", enter, "80", ""},
        {column_start, "", enter, " 2.5 ", ""},
        {column_start, "", enter, "81", "Start 81 is beyond the record length 80"},
        {column_start, "", enter, "80.6", "Start 81 is beyond the record length 80"},
        {column_start, "", enter, "0", "Start 0: the first position is 1"},
        {column_start, "", enter, "", "Start 0: the first position is 1"},
        {column_start, "", enter, "1,5", "Start \"1,5\" is not a number"},
        {column_length, "80", enter, "1", ""},
        {column_length, "80", enter, "2", "End 81 is beyond the record length 80"},
        {column_length, "71", enter, "10", ""},
        {column_length, "71", leave, "11", "End 81 is beyond the record length 80"},
        {column_length, "1", enter, "0", "Length 0: a field is at least 1 long"},
        {column_length, "1", enter, "x", "Length \"x\" is not a number"},
        {column_length, "", enter, "5", "Length 5: the row holds no start position to count from"},
        {column_length, "seven", enter, "5",
         "Length 5: the row holds no start position to count from"},
        {column_type, "", enter, "n", ""},
        {column_type, "", leave, "C", ""},
        {column_type, "", enter, "X", type_rule + ", not \"X\""},
        {column_type, "", enter, "", type_rule + ": the cell is empty"},
        {column_key, "", enter, "", ""},
        {column_key, "", leave, "y", ""},
        {column_key, "", enter, " ", key_rule + ", not \" \""},
        {column_key, "", leave, "", key_rule + ": the cell is empty"},
    };
    for (const Case& c : cases) {
        const CellCheck check =
            check_layout_cell(c.column, c.text, {80, c.stored_start, "", c.empty_key});
        EXPECT_EQ(check.passed, c.message.empty()) << c.column << " '" << c.text << "'";
        EXPECT_EQ(check.message, c.message) << c.column << " '" << c.text << "'";
    }
}

TEST(LayoutCell, DecimalsAreNoneOrAWholeNumberUpToTheStoredLength) {
    const std::string up_to_5 = "Decimals: a whole number from 0 to the length 5 please, not ";
    const std::string up_to_field =
        "Decimals: a whole number from 0 to the field's length please, not ";
    const std::tuple<const char*, const char*, std::string> cases[] = {
        // (stored length, text, message or "" when it passes)
        {"5", "", ""},
        {"5", "0", ""},
        {"5", "5", ""},
        {"5", "4.6", ""},  // stored as 5
        {"5", "5.5", up_to_5 + "\"5.5\""},
        {"5", "6", up_to_5 + "\"6\""},
        {"5", "-1", up_to_5 + "\"-1\""},
        {"5", "two", up_to_5 + "\"two\""},
        {"", "12", ""},  // no length yet to hold it to
        {"", "-1", up_to_field + "\"-1\""},
    };
    for (const auto& [stored_length, text, message] : cases) {
        for (const EmptyKey empty_key : {enter, leave}) {
            const CellCheck check =
                check_layout_cell(column_decimals, text, {80, "1", stored_length, empty_key});
            EXPECT_EQ(check.passed, message.empty()) << stored_length << " '" << text << "'";
            EXPECT_EQ(check.message, message) << stored_length << " '" << text << "'";
        }
    }
}

TEST(LayoutWrite, RefusesWhatTheTableCannotHoldButNotRanges) {
    const std::tuple<int, const char*, bool> cases[] = {
        // (column, text, passes)
        {column_name, "age", true},        {column_name, "", false},
        {column_name, "AGE GROUP", false}, {column_start, "81", true},
        {column_start, "", true},          {column_start, "x1", false},
        {column_length, "0", true},        {column_length, "1e", false},
        {column_type, "X", true},          {column_key, "q", true},
        {column_decimals, "99", true},     {column_decimals, "", true},
        {column_decimals, "x", false},
    };
    for (const auto& [column, text, passes] : cases) {
        const CellCheck write = check_layout_write(column, text);
        EXPECT_EQ(write.passed, passes) << column << " " << text;
        // What the write refuses, it refuses with the cell check's own message.
        if (!passes) {
            EXPECT_EQ(write.message, check_layout_cell(column, text, {80, "1", "", enter}).message);
        }
    }
}

TEST(LayoutValue, UpperCasedAndCorrected) {
    const std::tuple<int, const char*, const char*> cases[] = {
        // (column, text, kept)
        {column_name, "age_1", "AGE_1"}, {column_type, "n", "N"},
        {column_type, "c", "C"},         {column_type, "X", "C"},
        {column_type, "", "C"},          {column_type, "nn", "C"},
        {column_key, "y", "Y"},          {column_key, "n", "N"},
        {column_key, "q", "N"},          {column_key, "", ""},
        {column_start, "12", "12"},
    };
    for (const auto& [column, text, kept] : cases) {
        EXPECT_EQ(corrected_layout_value(column, text), kept) << column << " " << text;
    }
}

TEST(VariableName, OnlyPlainIdentifiersThatTheEngineDoesNotReserve) {
    for (const char* name : {"HHID", "state", "AGE_GRP", "X1", "a_b_c_9"}) {
        EXPECT_TRUE(is_valid_variable_name(name)) << name;
    }
    const std::pair<const char*, NameFault> faults[] = {
        {"", NameFault::first_character},     {"1AGE", NameFault::first_character},
        {"_X", NameFault::first_character},   {"\xc3\x84GE", NameFault::first_character},
        {"AGE GRP", NameFault::character},    {"A-B", NameFault::character},
        {"O'H", NameFault::character},        {"AGE;", NameFault::character},
        {"SELECT", NameFault::reserved},      {"select", NameFault::reserved},
        {"ORDER", NameFault::reserved},       {"WHERE", NameFault::reserved},
        {"CLASS", NameFault::program_column}, {"class", NameFault::program_column},
    };
    for (const auto& [name, fault] : faults) {
        EXPECT_FALSE(is_valid_variable_name(name)) << name;
        EXPECT_EQ(name_fault(name), fault) << name;
    }
}

}  // namespace
}  // namespace vesk
