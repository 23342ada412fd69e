#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include "core/app_state.h"
#include "core/line_reader.h"

namespace vesk {

// Blank text is 0; otherwise the text must be a number (point as decimal separator, whatever the
// locale), else vesk::Error.
double to_double(std::string_view text);

// Right-justifies the trimmed value in width characters, filled with blanks (blanks true) or
// zeros. At most 64 fill characters are used, so a wider field comes out shorter. A trimmed value
// longer than width is cut to the first width characters of the value as passed, blanks included.
std::string pad_field(std::string_view value, std::int64_t width, bool blanks);

// Sets rec_len to the length of the first line of inp_file (every character, blanks included,
// without its line end). Throws vesk::Error when the file cannot be read or is empty; rec_len
// keeps its value then.
void read_reclen(AppState& state);

// Opens inp_file for reading, line by line.
LineReader open_input(const AppState& state);

// Creates the file, or empties an existing one, for writing. Throws vesk::Error naming the path
// and the reason when it cannot be written.
std::ofstream open_output(const std::string& name);

// Drops table data, empties table variable and clears data_loaded; database errors are ignored.
void clear_vars(AppState& state);

}  // namespace vesk
