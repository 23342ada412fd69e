#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "core/database.h"

namespace vesk {

// One row of a layout file: name,start,length,type,key, as written (checked elsewhere).
struct LayoutRow {
    std::int64_t line = 0;  // line number in the file, for messages
    std::string name;
    std::string start;
    std::string length;
    std::string type;
    std::string key;
};

constexpr const char* layout_header = "name,start,length,type,key";

// Writes table variable, in ID order, as a layout file.
void write_layout_csv(Database& db, std::ostream& out);

// Reads a layout file: the header, then one row per variable (blank lines skipped). Throws
// vesk::Error naming the file and line when the header or a row's number of fields is wrong.
std::vector<LayoutRow> read_layout_csv(const std::string& path);

}  // namespace vesk
