#include "load/load_report.h"

#include <algorithm>

namespace vesk {

namespace {

std::string count_of(std::int64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string reject_reason_text(const RejectedLine& rejected) {
    switch (rejected.reason) {
        case RejectReason::blank_line:
            return "blank line";
        case RejectReason::line_too_short:
            return "the line ends before " + rejected.variable;
        case RejectReason::not_a_number:
            return rejected.variable + " is not a number";
        case RejectReason::blank_number:
            return rejected.variable + " is blank";
        case RejectReason::duplicate_key:
            return "duplicate key";
        case RejectReason::refused:
            break;
    }
    return "refused by the database";
}

std::string rejected_line_text(const RejectedLine& rejected) {
    return "line " + std::to_string(rejected.line_number) + ": " + reject_reason_text(rejected);
}

std::string load_report(const LoadSummary& summary) {
    std::string text = count_of(summary.lines_read, "line", "lines") +
                       " read: " + std::to_string(summary.lines_loaded) + " loaded, " +
                       std::to_string(summary.lines_rejected) + " rejected";
    if (!summary.record_type.empty()) {
        text += ", " + std::to_string(summary.lines_other_type) +
                " of other record types skipped (record type " + summary.record_type + ")";
    }
    text += ".";
    if (summary.line_key) {
        text += "\nKey: LINE_NO, each line's number in the file.";
    }
    if (summary.byte_order_mark) {
        text +=
            "\nThe file starts with a UTF-8 byte-order mark: skipped, not part of the first "
            "record.";
    }
    if (summary.filter_applied) {
        text +=
            "\nThe filter removed " + count_of(summary.rows_filtered_out, "row", "rows") + "; " +
            count_of(summary.lines_loaded - summary.rows_filtered_out, "row stays.", "rows stay.");
    }
    if (!summary.first_rejected.empty()) {
        text += "\nRejected lines:";
        for (const RejectedLine& rejected : summary.first_rejected) {
            text += "\n" + rejected_line_text(rejected);
        }
        const auto unnamed =
            summary.lines_rejected - static_cast<std::int64_t>(summary.first_rejected.size());
        if (unnamed > 0) {
            text += "\nand " + count_of(unnamed, "more rejected line.", "more rejected lines.");
        }
    }
    return text;
}

std::string nothing_loaded_report(const LoadSummary& summary, const std::string& path) {
    constexpr const char* kept = "\nNothing was replaced; the data loaded before are kept.";
    if (summary.lines_read == 0) {
        return "The input file " + path + " holds no line." + kept;
    }
    if (!summary.record_type.empty() && summary.lines_other_type == summary.lines_read) {
        return "No line of the input file " + path + " is of the record type " +
               summary.record_type + ": its " +
               count_of(summary.lines_read, "line is", "lines are") + " of other types." + kept;
    }
    std::string text = "No line was loaded. " + load_report(summary);
    const bool blank_field = std::any_of(
        summary.first_rejected.begin(), summary.first_rejected.end(),
        [](const RejectedLine& rejected) { return rejected.reason == RejectReason::blank_number; });
    if (blank_field) {
        text +=
            "\nA blank numeric field cannot be loaded. A variable left out of the layout is not "
            "read at all: a layout of only the variables the tests need loads such lines.";
    }
    return text + kept;
}

}  // namespace vesk
