#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"

namespace vesk {

// Texts of the two lists of the class window (and of the batch value listing), shown in a
// fixed-pitch font. In the value list every "#" stands in the same column, len + 11, so the
// frequencies line up under "Total Frequency".

// The parameter's name, blanks and "Total Frequency".
std::string value_heading(std::string_view param_var, std::int64_t len);

// The value, blanks, "# " and the frequency right-aligned in 8 columns.
std::string value_line(const ParValue& value);

// How a value stands in a class's in-list text: a character value between single quotes, padded
// with blanks to the variable's length; a number as listed.
std::string in_list_text(const ParValue& value);

// The class made of the given values, in that order.
ClassDef make_class(const std::vector<ParValue>& members);

std::int64_t total_frequency(const std::vector<ParValue>& members);

// A class as its list shows it: the in-list text of its values and their total frequency.
struct ListedClass {
    std::string values;
    std::int64_t total = 0;
};

// The class list's heading and a line per class, in columns: the class number under "No.", the
// values under "Class values" padded to the widest, and "# " with the total right-aligned in 8
// columns, the "#" under "Total Frequency". The numbers follow the lines, so a class moved up or
// down takes the number of its new place.
struct ClassListText {
    std::string heading;
    std::vector<std::string> lines;
};
ClassListText class_list_text(const std::vector<ListedClass>& classes);

}  // namespace vesk
