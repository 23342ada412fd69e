#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "core/load_summary.h"
#include "load/record_type.h"

namespace vesk {

// Where a variable stands in a line, and how it is read.
struct FieldSlice {
    std::size_t offset;  // 0 = first character
    std::size_t length;
    bool numeric;
    int decimals;  // implied, for a number written without a point
};

std::vector<FieldSlice> field_slices(const std::vector<VarDef>& defs);

// The field's characters; a field running past the end of the line holds what remains, possibly
// nothing.
inline std::string_view slice_of(std::string_view line, const FieldSlice& field) {
    return field.offset < line.size() ? line.substr(field.offset, field.length)
                                      : std::string_view{};
}

// A run of input lines as the parser leaves them for the insert: what became of each line and,
// for a record, its text and the numbers of its numeric fields.
struct ParsedLines {
    enum class Kind : std::uint8_t { record, other_type, rejected };
    struct Line {
        std::int64_t number = 0;  // 1 = the first line of the input
        Kind kind = Kind::record;
        RejectReason reason = RejectReason::refused;  // of a rejected line
        std::size_t field = 0;                        // the field at fault of a rejected line
        std::size_t text = 0;                         // a record's first character in text
        std::size_t length = 0;
    };

    std::vector<Line> lines;
    std::string text;              // the records' lines one after the other
    std::vector<double> numbers;   // the records' numeric fields in layout order, record by record
    std::uint64_t bytes_read = 0;  // of the input once these lines were read
    bool last = false;             // nothing follows
    std::exception_ptr error;      // why reading stopped, thrown where these lines are taken

    std::string_view line_text(const Line& line) const {
        return std::string_view(text).substr(line.text, line.length);
    }
    void clear();
};

// Slices lines by the layout and reads their numeric fields, apart from the database, so that
// the parsing can run beside the inserts.
class LineParser {
  public:
    // The layout must have passed check_layout. With a record type only the lines of that type
    // are records.
    LineParser(const std::vector<VarDef>& defs, const RecordTypeFilter* record_type);

    // Adds the line to parsed: a record, a line of another record type, or rejected with its
    // reason. Throws vesk::Error when the first line of the record type ends before a field does
    // (the layout was made for longer records).
    void parse(std::string_view line, std::int64_t number, ParsedLines& parsed);

  private:
    // The first line of the record type gives the record length the layout must fit in.
    void check_fields_within(std::string_view line, std::int64_t number) const;

    std::vector<FieldSlice> fields_;
    std::vector<std::string> names_;
    bool any_numeric_ = false;
    const RecordTypeFilter* record_type_;
    bool type_seen_ = false;
};

}  // namespace vesk
