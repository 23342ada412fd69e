#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/load_summary.h"
#include "load/line_parser.h"

namespace vesk {

// Turns parsed lines of the input file into rows of table data through one prepared insert.
// Slices are bound straight from the line: character slices as text with their blanks, numeric
// slices as the number the parser read, with the variable's implied decimals.
class LineLoader {
  public:
    // The layout must have passed check_layout, and table data must have its variables, then
    // LINE_NO when line_key.
    LineLoader(Database& db, const std::vector<VarDef>& defs, bool line_key);

    // Inserts the records among the lines and counts every line in summary: loaded, rejected
    // with its reason, or of another record type. Throws DbError when the database fails for a
    // reason that is not the line's.
    void load(const ParsedLines& parsed, LoadSummary& summary);

  private:
    // True when the database took the record.
    bool insert(const ParsedLines& parsed, const ParsedLines::Line& line, const double* numbers,
                RejectedLine& rejection);
    void reject(RejectedLine rejection, LoadSummary& summary);

    Statement insert_;
    std::vector<FieldSlice> fields_;
    std::vector<std::string> names_;
    std::size_t numeric_count_ = 0;
    int line_key_index_ = 0;  // the parameter of LINE_NO; 0: none
};

// How many rejected lines a summary names; the rest are only counted.
inline constexpr std::size_t rejected_lines_named = 10;

}  // namespace vesk
