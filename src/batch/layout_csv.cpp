#include "batch/layout_csv.h"

#include "core/csv.h"
#include "core/error.h"
#include "core/line_reader.h"
#include "core/text.h"

namespace vesk {

void write_layout_csv(Database& db, std::ostream& out) {
    out << layout_header << '\n';
    auto rows = db.prepare("select VN,ST,LEN,TYPE,PKEY from variable order by ID");
    while (rows.step()) {
        for (int column = 0; column < 5; ++column) {
            out << (column > 0 ? "," : "") << csv_field(rows.text(column));
        }
        out << '\n';
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
