#include "batch/layout_csv.h"

#include "core/csv.h"
#include "core/error.h"
#include "core/line_reader.h"
#include "core/text.h"
#include "core/variable_table.h"

namespace vesk {

void write_layout_csv(Database& db, std::ostream& out) {
    out << layout_header << '\n';
    const auto number = [](const std::optional<std::int64_t>& value) {
        return value ? std::to_string(*value) : std::string();
    };
    for (const VariableRow& row : read_variable_rows(db)) {
        out << csv_field(row.name.value_or("")) << ',' << number(row.start) << ','
            << number(row.length) << ',' << csv_field(row.type.value_or("")) << ','
            << csv_field(row.key.value_or("")) << '\n';
    }
}

std::vector<LayoutRow> read_layout_csv(const std::string& path) {
    LineReader reader(path);
    std::vector<LayoutRow> rows;
    std::string_view line;
    std::int64_t number = 0;
    bool header_seen = false;
    while (reader.next(line)) {
        ++number;
        if (trim(line).empty()) {
            continue;
        }
        std::vector<std::string> fields = split(line, ',');
        if (!header_seen) {
            std::vector<std::string> trimmed;
            for (const std::string& field : fields) {
                trimmed.push_back(to_upper(trim(field)));
            }
            if (join(trimmed, ",") != to_upper(layout_header)) {
                throw Error(path + " line " + std::to_string(number) + ": the header must be " +
                            layout_header);
            }
            header_seen = true;
            continue;
        }
        if (fields.size() != 5) {
            throw Error(path + " line " + std::to_string(number) + ": expected 5 fields (" +
                        layout_header + "), found " + std::to_string(fields.size()));
        }
        rows.push_back({number, std::string(trim(fields[0])), std::string(trim(fields[1])),
                        std::string(trim(fields[2])), std::string(trim(fields[3])),
                        std::string(trim(fields[4]))});
    }
    if (!header_seen) {
        throw Error(path + " is empty: a layout file starts with the header " +
                    std::string(layout_header));
    }
    return rows;
}

}  // namespace vesk
