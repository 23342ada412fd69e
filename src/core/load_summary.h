#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

// Why a line of the input file did not become a row of table data.
enum class RejectReason {
    blank_line,      // nothing but blanks, where a number is expected
    line_too_short,  // ends before a numeric field begins
    not_a_number,    // a numeric field that does not read as a number
    blank_number,    // a numeric field of blanks only
    duplicate_key,   // repeats the key values of a line already loaded
    refused,         // any other constraint the database holds the row to
};

struct RejectedLine {
    std::int64_t line_number = 0;  // 1 = first line of the file
    RejectReason reason = RejectReason::refused;
    std::string variable;  // the field at fault, where there is one
};

// What the last import did, for the user and for the record kept with the results. Every line read
// is loaded, rejected or of another record type.
struct LoadSummary {
    std::int64_t lines_read = 0;
    std::int64_t lines_loaded = 0;
    std::int64_t lines_rejected = 0;
    std::vector<RejectedLine> first_rejected;  // the first few, in file order
    bool filter_applied = false;
    std::int64_t rows_filtered_out = 0;  // deleted by the filter after loading
    bool key_missing = false;            // no variable is a key
    // With a record type ("RECTYPE = P"), the lines of other types: neither loaded nor rejected.
    std::string record_type;
    std::int64_t lines_other_type = 0;
    bool line_key = false;         // the line number is the key variable LINE_NO
    bool byte_order_mark = false;  // the input started with one, which was skipped
};

}  // namespace vesk
