#pragma once

#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/variable_table.h"

namespace vesk {

// Throws vesk::Error saying which variable is at fault when the layout cannot make table data:
// no variable at all, a name that is not a plain identifier or that repeats another, a type other
// than C or N, a start or length below 1, decimals below 0 or beyond the length.
void check_layout(const std::vector<VarDef>& defs);

// The names of the key variables (key exactly "Y") joined by ", "; empty when there is none.
std::string key_list_of(const std::vector<VarDef>& defs);

// "create table data (HHID varchar(3), AGE double, CLASS double, primary key (HHID))": one
// column per definition and CLASS; the key, when there is one, declared in the statement.
std::string create_data_sql(const std::vector<VarDef>& defs, const std::string& key_list);

// "insert into data (HHID, AGE) values (?1, ?2)": every definition, in order.
std::string insert_data_sql(const std::vector<VarDef>& defs);

}  // namespace vesk
