#include "layout/layout_csv.h"

#include <csv.h>

#include <vector>

#include "core/csv.h"
#include "core/error.h"
#include "core/text.h"
#include "core/variable_table.h"

namespace vesk {

namespace {

struct CsvRecord {
    std::int64_t line = 0;
    std::vector<std::string> fields;
};

// Collects the records libcsv finds, each with the line it starts on.
struct CsvCollector {
    std::vector<CsvRecord> records;
    CsvRecord current;
    std::int64_t line = 1;
    std::int64_t last_record_line = 0;
    bool in_record = false;

    static void field(void* text, std::size_t length, void* self) {
        auto& collector = *static_cast<CsvCollector*>(self);
        if (!collector.in_record) {
            collector.current.line = collector.line;
            collector.in_record = true;
        }
        collector.current.fields.emplace_back(static_cast<const char*>(text), length);
    }
    static void record_end(int, void* self) {
        auto& collector = *static_cast<CsvCollector*>(self);
        collector.last_record_line = collector.line;
        collector.records.push_back(std::move(collector.current));
        collector.current = {};
        collector.in_record = false;
    }
};

class CsvParser {
  public:
    CsvParser() {
        if (csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI) != 0) {
            throw std::bad_alloc();
        }
    }
    ~CsvParser() { csv_free(&parser_); }
    CsvParser(const CsvParser&) = delete;
    CsvParser& operator=(const CsvParser&) = delete;
    csv_parser* get() { return &parser_; }

  private:
    csv_parser parser_{};
};

// The records of the text. Fed a line at a time, so every record knows the line it starts on.
std::vector<CsvRecord> csv_records(std::string_view text, const std::string& path) {
    CsvParser parser;
    CsvCollector collector;
    // In strict mode the one fault libcsv finds is a quote out of place.
    const auto fail = [&](std::int64_t line) {
        throw Error(path + " line " + std::to_string(line) +
                    ": a field's quotes do not pair (write a quote inside a quoted field as \"\")");
    };
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find_first_of("\r\n", begin);
        end = end == std::string_view::npos ? text.size() : end + 1;
        if (end < text.size() && text[end - 1] == '\r' && text[end] == '\n') {
            ++end;
        }
        const std::string_view piece = text.substr(begin, end - begin);
        if (csv_parse(parser.get(), piece.data(), piece.size(), CsvCollector::field,
                      CsvCollector::record_end, &collector) != piece.size()) {
            fail(collector.line);
        }
        ++collector.line;
        begin = end;
    }
    if (csv_fini(parser.get(), CsvCollector::field, CsvCollector::record_end, &collector) != 0) {
        fail(collector.last_record_line + 1);
    }
    return collector.records;
}

bool is_blank_record(const CsvRecord& record) {
    return record.fields.size() == 1 && trim(record.fields[0]).empty();
}

std::string header_of(const std::vector<std::string>& fields) {
    std::vector<std::string> names;
    for (const std::string& field : fields) {
        names.push_back(to_upper(trim(field)));
    }
    return join(names, ",");
}

bool is_header(const std::vector<std::string>& fields) {
    const std::string header = header_of(fields);
    return header == to_upper(layout_header) ||
           header == to_upper(std::string(layout_header) + "," + decimals_header);
}

}  // namespace

void write_layout_csv(Database& db, std::ostream& out) {
    out << layout_header << ',' << decimals_header << '\n';
    const auto number = [](const std::optional<std::int64_t>& value) {
        return value ? std::to_string(*value) : std::string();
    };
    for (const VariableRow& row : read_variable_rows(db, LayoutTable::loaded)) {
        out << csv_field(row.name.value_or("")) << ',' << number(row.start) << ','
            << number(row.length) << ',' << csv_field(row.type.value_or("")) << ','
            << csv_field(row.key.value_or("")) << ',' << number(row.decimals) << '\n';
    }
}

bool is_layout_csv(std::string_view text) {
    // The header alone decides: a fault further down is the reader's to name.
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find_first_of("\r\n", begin);
        end = end == std::string_view::npos ? text.size() : end;
        const std::string_view line = text.substr(begin, end - begin);
        if (!trim(line).empty()) {
            try {
                const std::vector<CsvRecord> records = csv_records(line, {});
                return records.size() == 1 && is_header(records[0].fields);
            } catch (const Error&) {
                return false;
            }
        }
        begin = end + 1;
    }
    return false;
}

LayoutSource read_layout_csv(std::string_view text, const std::string& path) {
    LayoutSource source{"CSV layout", true, {}, {}, {}};
    std::size_t columns = 0;
    for (const CsvRecord& record : csv_records(text, path)) {
        if (is_blank_record(record)) {
            continue;
        }
        const std::string where = path + " line " + std::to_string(record.line) + ": ";
        if (columns == 0) {
            if (!is_header(record.fields)) {
                throw Error(where + "the header must be " + layout_header + " (and " +
                            decimals_header + " when the layout gives implied decimals)");
            }
            columns = record.fields.size();
            continue;
        }
        if (record.fields.size() != columns) {
            const std::string header =
                columns == 5 ? layout_header : std::string(layout_header) + "," + decimals_header;
            throw Error(where + "expected " + std::to_string(columns) + " fields (" + header +
                        "), found " + std::to_string(record.fields.size()));
        }
        std::vector<std::string> cells;
        for (const std::string& field : record.fields) {
            cells.emplace_back(trim(field));
        }
        cells.resize(6);
        source.variables.push_back(
            {record.line, cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], {}});
    }
    if (columns == 0) {
        throw Error(path + " is empty: a layout file starts with the header " +
                    std::string(layout_header));
    }
    return source;
}

}  // namespace vesk
