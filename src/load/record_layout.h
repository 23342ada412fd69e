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

// The key variable a load adds for a file without a key of its own: each line's number in the
// file (1 = the first line). It is no field of the line (start 0); its length is that of the
// largest number it holds.
inline constexpr const char* line_key_name = "LINE_NO";
VarDef line_key_variable(std::int64_t lines_read);

// Throws vesk::Error when the layout has a variable of the line key's name.
void check_line_key_name(const std::vector<VarDef>& defs);

// The names of the key variables (key exactly "Y") joined by ", "; empty when there is none.
std::string key_list_of(const std::vector<VarDef>& defs);

// "create table data (HHID varchar(3), AGE double, CLASS double, primary key (HHID))": one
// column per definition and CLASS; the key, when there is one, declared in the statement.
std::string create_data_sql(const std::vector<VarDef>& defs, const std::string& key_list);

// "insert into data (HHID, AGE) values (?1, ?2)": every definition, in order.
std::string insert_data_sql(const std::vector<VarDef>& defs);

}  // namespace vesk
