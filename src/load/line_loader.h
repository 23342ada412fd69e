#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/app_state.h"
#include "core/load_summary.h"

namespace vesk {

// Turns lines of the input file into rows of table data through one prepared insert. Slices are
// bound straight from the line: character slices as text with their blanks, numeric slices as
// the number they spell, with the variable's implied decimals.
class LineLoader {
  public:
    // The layout must have passed check_layout and table data must match it.
    LineLoader(Database& db, const std::vector<VarDef>& defs);

    // Inserts one line and counts it in summary: loaded, or rejected with its reason. Throws
    // DbError when the database fails for a reason that is not the line's.
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

    Statement insert_;
    std::vector<Field> fields_;
    bool any_numeric_ = false;
};

// How many rejected lines a summary names; the rest are only counted.
inline constexpr std::size_t rejected_lines_named = 10;

}  // namespace vesk
