#include <gtest/gtest.h>

#include "load/load_report.h"

namespace vesk {
namespace {

TEST(LoadReport, SaysWhatWasReadLoadedFilteredAndRejected) {
    struct Case {
        LoadSummary summary;
        const char* text;
    };
    LoadSummary one_line;
    one_line.lines_read = one_line.lines_loaded = 1;

    LoadSummary filtered;
    filtered.lines_read = filtered.lines_loaded = 3;
    filtered.filter_applied = true;
    filtered.rows_filtered_out = 2;

    LoadSummary rejected;
    rejected.lines_read = 9;
    rejected.lines_loaded = 2;
    rejected.lines_rejected = 7;
    rejected.first_rejected = {{2, RejectReason::blank_line, ""},
                               {3, RejectReason::line_too_short, "AGE"},
                               {4, RejectReason::not_a_number, "SEX"},
                               {5, RejectReason::duplicate_key, ""},
                               {6, RejectReason::refused, ""}};

    const Case cases[] = {
        {one_line, "1 line read: 1 loaded, 0 rejected."},
        {filtered, "3 lines read: 3 loaded, 0 rejected.\nThe filter removed 2 rows; 1 row stays."},
        {rejected,
         "9 lines read: 2 loaded, 7 rejected.\nRejected lines:\nline 2: blank line\n"
         "line 3: the line ends before AGE\nline 4: SEX is not a number\nline 5: duplicate key\n"
         "line 6: refused by the database\nand 2 more rejected lines."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(load_report(c.summary), c.text);
    }
}

}  // namespace
}  // namespace vesk
