#pragma once

#include <string>
#include <string_view>

#include "layout/layout_source.h"

namespace vesk {

// True when the text holds an SPSS DATA LIST command with variables (after its /).
bool is_spss_syntax(std::string_view text);

// The variables of the DATA LIST commands of an SPSS syntax file: "name start-end", "(A)" for
// character fields, "(n)" or "(F,n)" for implied decimals, several names sharing a column range,
// "V1 TO V9", FORTRAN-like formats "(F8.2)", "(A10)", "(2F4.0)" with "Tn" and "nX", record
// numbers "/1" "/2" (RECORDS=), and the record types of FILE TYPE ... RECORD= with its RECORD
// TYPE blocks. Comments ("*" and COMMENT commands, /* */) are skipped. Throws vesk::Error when the
// file holds no DATA LIST that gives columns.
LayoutSource read_spss_syntax(std::string_view text, const std::string& path);

}  // namespace vesk
