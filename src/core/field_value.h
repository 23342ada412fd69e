#pragma once

#include <string>

#include "core/cell.h"
#include "core/database.h"
#include "core/groups.h"

namespace vesk {

// A field of the ordered data kept from one row to compare with later rows. Two fields are the
// same when they read as the same text (numbers in the general form, null as ""), but numbers are
// compared as numbers first, so a scan over a million rows does not write each one as text.
class FieldValue {
  public:
    void assign(const Cell& cell);
    bool same_as(const Cell& cell) const;
    void assign(const Statement& row, int column) { assign(cell_of(row, column)); }
    bool same_as(const Statement& row, int column) const { return same_as(cell_of(row, column)); }
    // The value as text, numbers in the general form.
    std::string text() const;
    // Binds the value as a group value of a result table: a number as stored, since its 15-digit
    // text may round or, at the edge of the range, overflow when read back.
    void bind_group(Statement& statement, int index, const GroupColumn& column) const;

  private:
    bool is_number_ = false;
    double number_ = 0;
    std::string text_;
};

}  // namespace vesk
