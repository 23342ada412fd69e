#pragma once

#include "core/app_state.h"

namespace vesk {

// Rebuilds table data_chitable from data_chi: one row per group with the raw 2 x m contingency
// table (frq1_k central, frq2_k state, frq_k both, for class k = 1 ... class_count), its totals
// frq1, frq2 and frq, df = class_count - 1 and the chi-square statistic chival (null when it is
// not a finite number). Rows of data_chi whose class is not 1 ... class_count are left out; an
// empty data_chi gives no row. Throws vesk::Error when data_chi cannot be read.
void chi_table(AppState& state);

// Throws vesk::Error, before any work, when data_chi and data_chitable could not be built: more
// classes than the engine's column limit leaves room for (the message says how many fit), or a
// group variable named like a column the tables add (CLASS, frq, df, chival, frq1_1 ...).
void refuse_what_chi_tables_cannot_hold(AppState& state);

// The most classes the tables can hold with group_count group variables: a table of the database
// holds at most the engine's column limit, and each class takes three columns.
std::int64_t most_chi_classes(Database& db, std::size_t group_count);

}  // namespace vesk
