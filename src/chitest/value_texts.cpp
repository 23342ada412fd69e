#include "chitest/value_texts.h"

#include <sqlite3.h>

#include <bit>
#include <cmath>

#include "core/number_text.h"

namespace vesk {

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
