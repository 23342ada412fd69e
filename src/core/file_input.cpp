#include "core/file_input.h"

#include <sys/stat.h>

#include "core/error.h"
#include "core/text.h"

namespace vesk {

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

}  // namespace vesk
