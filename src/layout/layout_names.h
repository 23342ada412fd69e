#pragma once

#include <string>
#include <string_view>

namespace vesk {

// The name a layout's variable is taken with: as written, but a word the database reserves (or
// CLASS, the program's own column) gets '_' appended, ORDER becoming ORDER_, since codebooks use
// such names freely and they cannot name a column.
std::string importable_name(std::string_view written);

// Why a name was changed on the way in, for the import's message; empty when it was not.
std::string renaming_note(std::string_view written);

// Whether a name the user typed (--vars, --keys, --record-type) means the variable written so:
// in any case, as written or as taken.
bool names_variable(std::string_view typed, std::string_view written);

}  // namespace vesk
