#include "core/routines.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/error.h"
#include "core/load_provenance.h"
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

std::int64_t record_length(LineReader& reader) {
    const auto first = reader.first_line();
    // A stream cut off before its first line end (a writer that failed) holds no record.
    if (!first || (!first->ended && !reader.regular())) {
        throw Error("input file " + reader.path() + " is empty");
    }
    return static_cast<std::int64_t>(first->length);
}

void read_reclen(AppState& state) {
    LineReader reader = open_input(state);
    state.rec_len = record_length(reader);
}

void require_regular_file(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        throw Error("The input file " + path +
                    " is not a regular file (it is a pipe, a socket or a device): only a file "
                    "on disk can be loaded here. vesk-batch --input reads pipes and standard "
                    "input.");
    }
}

LineReader open_input(const AppState& state) {
    if (trim(state.inp_file).empty()) {
        throw Error("no input file is named");
    }
    require_regular_file(state.inp_file);
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
    clear_load_provenance(state.db_conn);
    try {
        clear_variable_rows(state.db_conn);
    } catch (const DbError&) {
        // The rows stay; the grid shows what the table holds.
    }
}

}  // namespace vesk
