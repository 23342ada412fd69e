#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/identifier.h"
#include "core/layout_check.h"

namespace vesk {
namespace {

const std::string name_len(name_length_message);
const std::string name_id(name_identifier_message);
const std::string start(start_message);
const std::string length(length_message);
const std::string type(type_message);
const std::string key(key_message);
constexpr EmptyKey enter = EmptyKey::passes;
constexpr EmptyKey leave = EmptyKey::fails;

TEST(LayoutCell, PassesOrNamesTheColumnsMessageInARecordOf80) {
    struct Case {
        int column;
        std::string stored_start;
        EmptyKey empty_key;
        std::vector<std::string> passing;
        std::vector<std::string> failing;  // with the message
        std::string message;
    };
    // A name is not trimmed, and counts characters, not bytes; a length needs its start stored.
    const Case cases[] = {
        {column_name, "", enter, {"ABCDEFGHIJ", "hhid"}, {"ABCDEFGHIJK"}, name_len},
        {column_name, "", leave, {}, {""}, name_len},
        {column_name, "", enter, {}, {" HHID", "\u00c4BCDEFGHIJ"}, name_id},
        {column_start, "", enter, {"80", " 2.5 "}, {"81", "0", "", "1,5"}, start},
        {column_length, "80", enter, {"1"}, {"2"}, length},
        {column_length, "71", enter, {"10"}, {}, length},
        {column_length, "71", leave, {}, {"11"}, length},
        {column_length, "1", enter, {}, {"0", "", "x"}, length},
        {column_length, "", enter, {}, {"5"}, length},
        {column_length, "seven", enter, {}, {"5"}, length},
        {column_type, "", enter, {"n"}, {"X", "", "CN"}, type},
        {column_type, "", leave, {"C"}, {}, type},
        {column_key, "", enter, {"N", ""}, {" ", "q"}, key},
        {column_key, "", leave, {"y"}, {""}, key},
    };
    for (const Case& c : cases) {
        for (const bool passes : {true, false}) {
            for (const std::string& text : passes ? c.passing : c.failing) {
                const CellCheck check =
                    check_layout_cell(c.column, text, {80, c.stored_start, "", c.empty_key});
                EXPECT_EQ(check.passed, passes) << c.column << " '" << text << "'";
                EXPECT_EQ(check.message, passes ? "" : c.message)
                    << c.column << " '" << text << "'";
            }
        }
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
    struct Case {
        int column;
        std::vector<std::string> passing;
        std::vector<std::string> failing;
        std::string message;
    };
    const Case cases[] = {
        {column_name, {"age"}, {"", "ABCDEFGHIJK"}, name_len},
        {column_name, {}, {"AGE GROUP"}, name_id},
        {column_start, {"81", ""}, {"x1"}, start},
        {column_length, {"0"}, {"1e"}, length},
        {column_type, {"X"}, {}, type},
        {column_key, {"q"}, {}, key},
        {column_decimals,
         {"99", ""},
         {"x"},
         "Decimals: a whole number from 0 to the field's length please, not \"x\""},
    };
    for (const Case& c : cases) {
        for (const bool passes : {true, false}) {
            for (const std::string& text : passes ? c.passing : c.failing) {
                const CellCheck check = check_layout_write(c.column, text);
                EXPECT_EQ(check.passed, passes) << c.column << " " << text;
                EXPECT_EQ(check.message, passes ? "" : c.message) << c.column << " " << text;
            }
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
    for (const char* name : {"", "1AGE", "_X", "AGE GRP", "A-B", "O'H", "SELECT", "select", "ORDER",
                             "WHERE", "CLASS", "class", "AGE;", "\xc3\x84GE"}) {
        EXPECT_FALSE(is_valid_variable_name(name)) << name;
    }
}

}  // namespace
}  // namespace vesk
