#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "core/load_summary.h"
#include "load/record_type.h"

namespace vesk {

// Turns lines of the input file into rows of table data through one prepared insert. Slices are
// bound straight from the line: character slices as text with their blanks, numeric slices as
// the number they spell, with the variable's implied decimals.
class LineLoader {
  public:
    // The layout must have passed check_layout, and table data must have its variables, then
    // LINE_NO when line_key. With a record type only the lines of that type are loaded.
    LineLoader(Database& db, const std::vector<VarDef>& defs, const RecordTypeFilter* record_type,
               bool line_key);

    // Inserts one line and counts it in summary: loaded, rejected with its reason, or of another
    // record type. Throws vesk::Error when the first line of the record type ends before a field
    // does (the layout was made for longer records), DbError when the database fails for a
    // reason that is not the line's.
    void load(std::string_view line, LoadSummary& summary);

  private:
    struct Field {
        std::size_t offset;  // 0 = first character
        std::size_t length;
        bool numeric;
        int decimals;  // implied, for a number written without a point
        const std::string* name;
    };

    // Binds the line's slices; the rejection when a numeric slice is not a number.
    bool bind(std::string_view line, RejectedLine& rejection);
    void reject(RejectedLine rejection, LoadSummary& summary);
    // The first line of the record type gives the record length the layout must fit in.
    void check_fields_within(std::string_view line, std::int64_t line_number) const;

    Statement insert_;
    std::vector<Field> fields_;
    bool any_numeric_ = false;
    const RecordTypeFilter* record_type_;
    bool type_seen_ = false;
    int line_key_index_ = 0;  // the parameter of LINE_NO; 0: none
};

// How many rejected lines a summary names; the rest are only counted.
inline constexpr std::size_t rejected_lines_named = 10;

}  // namespace vesk
