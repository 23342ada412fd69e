#pragma once

#include <string>
#include <vector>

#include "core/app_state.h"

namespace vesk::testing {

// Table data as the import leaves it: a column per variable (character ones varchar, numeric
// ones double) and CLASS. Sets var_defs to the variables; a table data there before goes.
void make_data(AppState& state, const std::vector<VarDef>& variables);

// Adds rows over the variables, written as SQL value lists ("('01', 1, 2.5), ('02', 2, null)"),
// each of them `times` times.
void add_rows(AppState& state, const std::string& values, int times = 1);

// The layout of the import tests: HHID C 1-3 key, STATE C 4-5, SEX N 6, AGE N 7-9.
std::vector<VarDef> four_variables();

// A file of household and person lines, alternating: each household line (25 characters: H,
// HHID 2-5, then 01 where a person line has its PERSON, STATE 8-9, filler) is followed by its
// persons (32 characters: P, HHID 2-5, PERSON 6-7, STATE 8-9, SAMPLE 10, AGE 11-13, INCOME 14-21
// in cents, WEIGHT 22-32 with four implied decimals). Household h has 1 + h % 3 persons.
std::string household_person_file(int households);
// The person lines' layout: every field above, HHID and PERSON the key, INCOME with 2 and WEIGHT
// with 4 decimals.
std::vector<VarDef> person_variables();

// The draft of table variable holding this layout, with IDs from 1: what the next load reads.
void write_layout(Database& db, const std::vector<VarDef>& variables);

// Every row of the query, its fields as text joined by ","; a null field reads NULL, so it
// is told from empty text.
std::vector<std::string> rows(Database& db, const std::string& sql);

}  // namespace vesk::testing
