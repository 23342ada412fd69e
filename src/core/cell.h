#pragma once

#include <string_view>

#include "core/database.h"

struct sqlite3_value;

namespace vesk {

// One field of a row as the engine holds it, for scans that must not write every number as text.
struct Cell {
    enum class Kind { null, number, text };
    Kind kind = Kind::null;
    double number = 0;
    std::string_view text;  // valid until the row moves on
};

Cell cell_of(const Statement& row, int column);
Cell cell_of(sqlite3_value* value);

// The central sample is marked by the text "1" exactly; a number reads "1" only when its general
// form is "1".
bool is_central(const Cell& cell);

}  // namespace vesk
