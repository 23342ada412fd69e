#pragma once

#include <string>
#include <string_view>

namespace vesk {

// A field of a result file: written as it stands, or between double quotes (with its quotes
// doubled) when it holds a comma, a double quote, CR or LF, so no value can shift the columns.
std::string csv_field(std::string_view value);

}  // namespace vesk
