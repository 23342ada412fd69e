#include <gtest/gtest.h>

#include <string>

#include "core/layout_check.h"

namespace vesk {
namespace {

struct CellCase {
    int column;
    std::string text;
    std::string stored_start;
    EmptyKey empty_key;
    std::string message;  // empty: the cell passes
};

class LayoutCell : public ::testing::TestWithParam<CellCase> {};

TEST_P(LayoutCell, PassesOrNamesTheColumnsMessage) {
    const CellCase& c = GetParam();
    const CellCheck check = check_layout_cell(c.column, c.text, {80, c.stored_start, c.empty_key});
    EXPECT_EQ(check.passed, c.message.empty()) << c.column << " '" << c.text << "'";
    EXPECT_EQ(check.message, c.message) << c.column << " '" << c.text << "'";
}

const std::string name_len(name_length_message);
const std::string name_id(name_identifier_message);
const std::string start(start_message);
const std::string length(length_message);
const std::string type(type_message);
const std::string key(key_message);
constexpr EmptyKey enter = EmptyKey::passes;
constexpr EmptyKey leave = EmptyKey::fails;

INSTANTIATE_TEST_SUITE_P(
    RecordLength80, LayoutCell,
    ::testing::Values(
        CellCase{column_name, "ABCDEFGHIJ", "", enter, ""},
        CellCase{column_name, "ABCDEFGHIJK", "", enter, name_len},
        CellCase{column_name, "", "", leave, name_len},
        CellCase{column_name, "hhid", "", enter, ""},
        CellCase{column_name, " HHID", "", enter, name_id},  // not trimmed
        CellCase{column_name,
                 "\xc3\x84"
                 "BCDEFGHIJ",
                 "", enter, name_id},  // 10 characters
        CellCase{column_start, "80", "", enter, ""}, CellCase{column_start, " 2.5 ", "", enter, ""},
        CellCase{column_start, "81", "", enter, start},
        CellCase{column_start, "0", "", enter, start}, CellCase{column_start, "", "", enter, start},
        CellCase{column_start, "1,5", "", enter, start},
        CellCase{column_length, "1", "80", enter, ""},
        CellCase{column_length, "2", "80", enter, length},
        CellCase{column_length, "10", "71", enter, ""},
        CellCase{column_length, "11", "71", leave, length},
        CellCase{column_length, "0", "1", enter, length},
        CellCase{column_length, "", "1", enter, length},
        CellCase{column_length, "x", "1", enter, length},
        CellCase{column_length, "5", "", enter, length},  // no start stored yet
        CellCase{column_length, "5", "seven", enter, length},
        CellCase{column_type, "n", "", enter, ""}, CellCase{column_type, "C", "", leave, ""},
        CellCase{column_type, "X", "", enter, type}, CellCase{column_type, "", "", enter, type},
        CellCase{column_type, "CN", "", enter, type}, CellCase{column_key, "y", "", leave, ""},
        CellCase{column_key, "N", "", enter, ""}, CellCase{column_key, "", "", enter, ""},
        CellCase{column_key, "", "", leave, key}, CellCase{column_key, " ", "", enter, key},
        CellCase{column_key, "q", "", enter, key}));

TEST(LayoutWrite, RefusesWhatTheTableCannotHoldButNotRanges) {
    struct Case {
        int column;
        const char* text;
        std::string message;
    };
    const Case cases[] = {
        {column_name, "age", ""},
        {column_name, "", name_len},
        {column_name, "AGE GROUP", name_id},
        {column_name, "ABCDEFGHIJK", name_len},
        {column_start, "81", ""},
        {column_start, "", ""},
        {column_start, "x1", start},
        {column_length, "0", ""},
        {column_length, "1e", length},
        {column_type, "X", ""},
        {column_key, "q", ""},
    };
    for (const auto& c : cases) {
        const CellCheck check = check_layout_write(c.column, c.text);
        EXPECT_EQ(check.passed, c.message.empty()) << c.column << " " << c.text;
        EXPECT_EQ(check.message, c.message) << c.column << " " << c.text;
    }
}

TEST(LayoutValue, UpperCasedAndCorrected) {
    struct Case {
        int column;
        const char* text;
        const char* kept;
    };
    const Case cases[] = {
        {column_name, "age_1", "AGE_1"}, {column_type, "n", "N"},
        {column_type, "c", "C"},         {column_type, "X", "C"},
        {column_type, "", "C"},          {column_type, "nn", "C"},
        {column_key, "y", "Y"},          {column_key, "n", "N"},
        {column_key, "q", "N"},          {column_key, "", ""},
        {column_start, "12", "12"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(corrected_layout_value(c.column, c.text), c.kept) << c.column << " " << c.text;
    }
}

}  // namespace
}  // namespace vesk
