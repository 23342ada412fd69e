#include "core/routines.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/error.h"
#include "core/number_text.h"
#include "core/text.h"
#include "core/variable_table.h"

namespace vesk {

double to_double(std::string_view text) {
    if (trim(text).empty()) {
        return 0;
    }
    if (const auto value = parse_number(text)) {
        return *value;
    }
    throw Error("\"" + std::string(text) + "\" is not a number");
}

std::string pad_field(std::string_view value, std::int64_t width, bool blanks) {
    const std::string_view t = trim(value);
    const std::int64_t fill = width - static_cast<std::int64_t>(t.size());
    if (fill >= 0) {
        const std::string& source = blanks ? spaces64 : zeros64;
        const auto used = std::min<std::int64_t>(fill, static_cast<std::int64_t>(source.size()));
        return source.substr(0, static_cast<std::size_t>(used)) + std::string(t);
    }
    if (width <= 0) {
        return {};
    }
    return std::string(value.substr(0, static_cast<std::size_t>(width)));
}

void read_reclen(AppState& state) {
    LineReader reader = open_input(state);
    std::string_view first;
    if (!reader.next(first)) {
        throw Error("input file " + state.inp_file + " is empty");
    }
    state.rec_len = static_cast<std::int64_t>(first.size());
}

LineReader open_input(const AppState& state) {
    if (trim(state.inp_file).empty()) {
        throw Error("no input file is named");
    }
    return LineReader(state.inp_file);
}

std::ofstream open_output(const std::string& name) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw Error("cannot write the file " + name + ": " + std::strerror(errno));
    }
    return out;
}

void clear_vars(AppState& state) {
    state.data_loaded = false;
    state.db_conn.try_execute("DROP TABLE data");
    try {
        clear_variable_rows(state.db_conn);
    } catch (const DbError&) {
        // The rows stay; the grid shows what the table holds.
    }
}

}  // namespace vesk
