#include "chitest/value_texts.h"

#include <sqlite3.h>

#include <bit>
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

std::size_t TextIds::text_id(std::string_view text, int rank, double number) {
    const auto found = by_text_.find(text);
    if (found != by_text_.end()) {
        return found->second;
    }
    const std::size_t id = entries_.size();
    entries_.push_back({std::string(text), text.empty() ? 0 : rank, number});
    by_text_.emplace(entries_.back().text, id);
    return id;
}

std::size_t TextIds::id(const Cell& cell) {
    if (last_id_ != static_cast<std::size_t>(-1) && cell.kind == last_kind_ &&
        (cell.kind == Cell::Kind::null ||
         (cell.kind == Cell::Kind::number ? cell.number == last_number_
                                          : cell.text == last_text_))) {
        return last_id_;
    }
    std::size_t id = 0;
    switch (cell.kind) {
        case Cell::Kind::null:
            id = text_id({}, 0, 0);
            break;
        case Cell::Kind::number: {
            const double number = cell.number == 0 ? 0.0 : cell.number;  // -0 reads "0"
            const auto bits = std::bit_cast<std::uint64_t>(number);
            const auto found = by_number_.find(bits);
            if (found != by_number_.end()) {
                id = found->second;
            } else {
                id = text_id(general_form(number), 1, number);
                by_number_.emplace(bits, id);
            }
            break;
        }
        case Cell::Kind::text:
            id = text_id(cell.text, 2, 0);
            last_text_.assign(cell.text);
            break;
    }
    last_kind_ = cell.kind;
    last_number_ = cell.number;
    last_id_ = id;
    return id;
}

bool TextIds::before(std::size_t a, std::size_t b) const {
    const Entry& x = entries_[a];
    const Entry& y = entries_[b];
    if (x.rank != y.rank) {
        return x.rank < y.rank;
    }
    if (x.rank == 1 && x.number != y.number) {
        return x.number < y.number;
    }
    return x.text < y.text;
}

}  // namespace vesk
