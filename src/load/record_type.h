#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "core/line_reader.h"

namespace vesk {

// "RECTYPE=P" as --record-type takes it; throws vesk::Error for anything else.
RecordType parse_record_type(std::string_view text);

// "RECTYPE = P"
std::string record_type_text(const RecordType& type);

// Tells the lines of one record type from the others by the field of its variable: a character
// field read without its blanks at either end, a numeric one as the number it spells (with the
// variable's decimals), so RECTYPE = 1 also takes " 1" and "01".
class RecordTypeFilter {
  public:
    // Throws vesk::Error when the variable is not in the layout, or is numeric and the value is
    // not a number.
    RecordTypeFilter(const std::vector<VarDef>& defs, const RecordType& type);

    bool matches(std::string_view line) const;
    const RecordType& type() const { return type_; }

  private:
    RecordType type_;
    std::size_t offset_ = 0;
    std::size_t length_ = 0;
    bool numeric_ = false;
    int decimals_ = 0;
    std::string value_;  // without blanks at either end
    double number_ = 0;
};

// The first line of the record type in the reader's remaining lines: its number (1 = the first
// line read) and its length. Nothing when there is none.
struct LineOfType {
    std::int64_t line_number = 0;
    std::int64_t length = 0;
};
std::optional<LineOfType> first_line_of_type(LineReader& reader, const RecordTypeFilter& filter);

}  // namespace vesk
