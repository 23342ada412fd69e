#include "core/cell.h"

#include <sqlite3.h>

#include <cmath>

#include "core/number_text.h"

namespace vesk {

Cell cell_of(const Statement& row, int column) {
    switch (sqlite3_column_type(row.handle(), column)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return {Cell::Kind::number, row.number(column), {}};
        default:
            return {Cell::Kind::text, 0, row.text_view(column)};
    }
}

Cell cell_of(sqlite3_value* value) {
    switch (sqlite3_value_type(value)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return {Cell::Kind::number, sqlite3_value_double(value), {}};
        default: {
            const auto* bytes = static_cast<const char*>(sqlite3_value_blob(value));
            const int size = sqlite3_value_bytes(value);
            return {Cell::Kind::text, 0,
                    bytes ? std::string_view(bytes, static_cast<std::size_t>(size))
                          : std::string_view{}};
        }
    }
}

bool is_central(const Cell& cell) {
    if (cell.kind == Cell::Kind::number) {
        // Only a number within rounding of 1 can read as "1"; the test keeps the write rare.
        return cell.number == 1.0 ||
               (std::fabs(cell.number - 1.0) < 1e-13 && general_form(cell.number) == "1");
    }
    return cell.kind == Cell::Kind::text && cell.text == "1";
}

}  // namespace vesk
