#include "core/field_value.h"

#include <algorithm>
#include <cmath>

#include "core/number_text.h"

namespace vesk {

void FieldValue::assign(const Cell& cell) {
    is_number_ = cell.kind == Cell::Kind::number;
    if (is_number_) {
        number_ = cell.number;
        text_.clear();
    } else {
        text_.assign(cell.text);
    }
}

bool FieldValue::same_as(const Cell& cell) const {
    if (cell.kind == Cell::Kind::number) {
        const double number = cell.number;
        if (is_number_) {
            if (number == number_) {
                return true;
            }
            // Numbers that share their 15-digit text differ by less than a unit in the 15th
            // digit; most unequal numbers are farther apart and need no text at all.
            const double scale = std::max(std::fabs(number), std::fabs(number_));
            if (std::fabs(number - number_) > 1e-13 * scale) {
                return false;
            }
        }
        return text() == general_form(number);
    }
    return is_number_ ? general_form(number_) == cell.text : text_ == cell.text;
}

std::string FieldValue::text() const {
    return is_number_ ? general_form(number_) : text_;
}

void FieldValue::bind_group(Statement& statement, int index, const GroupColumn& column) const {
    if (is_number_ && column.type == "N") {
        statement.bind(index, number_);
    } else {
        bind_group_value(statement, index, column, text());
    }
}

}  // namespace vesk
