#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/verdict.h"

namespace vesk {

// What a report says, as plain text and numbers: the document is built from this alone, so the
// HTML, the PDF and the tests all see the same facts.

// A file named in the report, with what identifies its bytes. size and sha256 are empty when
// the file could not be read.
struct ReportFile {
    std::string path;  // absolute
    std::optional<std::int64_t> size;
    std::string sha256;
    std::string modified;  // UTC, 2026-12-06 20:15:03 UTC
};

// Where the tested data came from.
struct ReportOrigin {
    bool known = false;  // false: loaded before, with no record of the import
    ReportFile input;
    std::string loaded_at;  // when the import ran, where recorded
    std::int64_t lines_read = 0;
    std::int64_t lines_loaded = 0;
    std::int64_t lines_rejected = 0;
    std::vector<std::string> first_rejections;  // "line 12: AMOUNT is not a number"
    std::string filter;                         // the user's condition; empty: none
    std::int64_t rows_filtered_out = 0;
    std::string record_type;  // "RECTYPE = P"; empty: every line was loaded
    std::int64_t lines_other_type = 0;
    bool line_key = false;
    bool byte_order_mark = false;
    std::vector<VarDef> layout;
};

struct ReportClass {
    std::int64_t number = 0;
    std::string values;        // as the class list shows them: 4,5
    std::int64_t central = 0;  // records of the central sample
    std::int64_t state = 0;
    std::int64_t records = 0;
};

// What was asked of the data.
struct ReportQuestion {
    std::vector<std::string> group_variables;
    std::string sample_variable;
    std::string central_value = "1";
    std::string parameter;
    std::vector<ReportClass> classes;  // chi-square only
};

// One group's line of the table and its point in the chart.
struct ReportRow {
    std::vector<std::string> groups;  // the group's values, in group variable order
    std::int64_t n = 0;               // central records
    std::int64_t m = 0;               // state records
    std::string effect;  // the effect size in figures and words, where the test has one
    std::vector<std::string> measures;  // the test's other figures, under ReportData::measures
    std::optional<Probability> p;       // the primary p-value
    std::string p_source;               // how the primary p-value was found
    std::optional<Probability> p_holm;
    std::optional<Probability> p_bh;
    std::vector<std::string> flags;  // each a reason in words
    bool significant = false;        // adjusted p below the level
    Mark mark = Mark::plain;
    std::optional<double> point;   // the chart's point, as the verdict has it
    std::optional<double> beside;  // and what it draws beside it
};

// The classes of one group: where its samples differ.
struct ReportGroupClasses {
    std::vector<std::string> groups;
    bool significant = false;
    std::string effect;
    std::vector<ChiClassCell> cells;  // in class order, as ReportQuestion::classes
};

struct ReportData {
    TestKind kind = TestKind::runs;
    std::string title;    // "Runs test of AMOUNT"
    std::string created;  // UTC, the one part two reports of one run differ in
    std::string version;
    ReportOrigin origin;
    ReportQuestion question;
    Choices choices;  // which groups the report marks as significant
    std::string summary;
    std::string effect;                 // heading of ReportRow::effect; empty: no such column
    std::vector<std::string> measures;  // headings of ReportRow::measures
    std::vector<ReportRow> rows;
    // Chi-square test: the class shares of the groups shown, and which groups those are.
    std::vector<ReportGroupClasses> group_classes;
    std::string group_classes_scope;
    std::vector<std::string> reading;  // paragraphs of "How to read it"
    std::vector<ReportFile> result_files;
};

}  // namespace vesk
