#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "core/database.h"
#include "layout/layout_source.h"

namespace vesk {

constexpr const char* layout_header = "name,start,length,type,key";
constexpr const char* decimals_header = "decimals";

// Writes the layout the data were loaded with (table variable), in ID order, as a layout file.
void write_layout_csv(Database& db, std::ostream& out);

// True when the first line that is not blank is the header of a layout file.
bool is_layout_csv(std::string_view text);

// Reads a layout file as a spreadsheet writes it (fields quoted or not, any line end): the
// header, then one row per variable, blank lines skipped; an optional sixth column gives the
// implied decimals. Throws vesk::Error naming the file and line when the header or a row's
// number of fields is wrong.
LayoutSource read_layout_csv(std::string_view text, const std::string& path);

}  // namespace vesk
