#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vesk {

// The columns of table variable, numbered as the grid shows them; ID is hidden.
enum LayoutColumn : int {
    column_id = 0,
    column_name = 1,
    column_start = 2,
    column_length = 3,
    column_type = 4,
    column_key = 5,
    column_decimals = 6,
};

inline constexpr std::size_t max_name_length = 32;
inline constexpr std::string_view name_length_message = "Min 1 Max 32 Character Name please";
inline constexpr std::string_view type_message =
    "Field Type: 'C' for Character and 'N' for Numeric please";
inline constexpr std::string_view key_message = "Primary KEY: 'Y' for YES 'N' for NO please";

// An empty key flag passes when a cell is confirmed with Enter; when the focus leaves the grid
// the row must say Y or N.
enum class EmptyKey { passes, fails };

// What a layout cell is checked against.
struct LayoutCellContext {
    std::int64_t rec_len = 0;
    // The start position the row already holds, as text; empty when it holds none. A length is
    // checked against the stored start, not against one still being typed.
    std::string_view stored_start;
    // The length the row already holds, as text; empty when it holds none. Decimals cannot
    // exceed it.
    std::string_view stored_length;
    EmptyKey empty_key = EmptyKey::passes;
};

// The verdict on one cell: passed, or failed with the message to show, which names the value
// and the rule (for positions the record length: "End 31 is beyond the record length 26"). A
// column that takes no entry (ID, or one out of range) fails without a message.
struct CellCheck {
    bool passed = true;
    std::string message;
};

// Checks the text of one layout cell, as typed (not trimmed): a name of 1 to 32 characters that
// is a valid identifier; a start from 1 to rec_len; a length of at least 1 that ends within
// rec_len; type C or N and key flag Y or N in either case; decimals blank (none) or from 0 to the
// stored length. Text that is not a number is refused in the start, length and decimals columns,
// and so is a length while the row holds no start.
CellCheck check_layout_cell(int column, std::string_view text, const LayoutCellContext& context);

// What every write of a cell must pass, however the cell is left: a name as above, and a number
// or nothing in the start, length and decimals columns. Ranges are left to check_layout_cell.
CellCheck check_layout_write(int column, std::string_view text);

// The value a written cell is kept with: names, types and key flags upper-cased; a type other
// than C or N becomes C; a key flag other than Y or N becomes N, unless it is empty.
std::string corrected_layout_value(int column, std::string_view text);

}  // namespace vesk
