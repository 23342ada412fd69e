#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/app_state.h"

namespace vesk {

// Texts of the two lists of the class window (and of the batch value listing). Every "#" stands
// in the same column, len + 11, so the frequencies line up under "Total Frequency" in a
// fixed-pitch font.

// The parameter's name, blanks and "Total Frequency".
std::string value_heading(std::string_view param_var, std::int64_t len);

inline constexpr std::string_view class_heading =
    "Class values                                 Total Frequency";

// The value, blanks, "# " and the frequency right-aligned in 8 columns.
std::string value_line(const ParValue& value);

// How a value stands in a class's in-list text: a character value between single quotes, padded
// with blanks to the variable's length; a number as listed.
std::string in_list_text(const ParValue& value);

// The class made of the given values, in that order.
ClassDef make_class(const std::vector<ParValue>& members);

std::int64_t total_frequency(const std::vector<ParValue>& members);

// The class's in-list text, five blanks, "# " and the total right-aligned in 8 columns.
std::string class_line(const ClassDef& class_def, std::int64_t total);

}  // namespace vesk
