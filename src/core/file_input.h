#pragma once

#include <cstdint>
#include <string>

#include "core/app_state.h"
#include "core/line_reader.h"

namespace vesk {

// The record length: the length of the reader's first line (every character, blanks included,
// without its line end), read ahead so that the same pass then loads it. Throws vesk::Error when
// the input holds no line; a stream that ends before its first line end counts as empty.
std::int64_t record_length(LineReader& reader);

// Sets rec_len to the record length of inp_file. Throws vesk::Error when the file cannot be read,
// is not a regular file or is empty; rec_len keeps its value then.
void read_reclen(AppState& state);

// Throws vesk::Error with a message for the user when path names something other than a regular
// file or a folder (a pipe, a socket, a device): the windows read the input twice, once for its
// record length and once to load it, which a stream cannot give.
void require_regular_file(const std::string& path);

// Opens inp_file, which must be a regular file, for reading line by line.
LineReader open_input(const AppState& state);

}  // namespace vesk
