#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vesk {

// Blanks are spaces only: the data files are fixed-width text padded with spaces.
std::string_view trim(std::string_view s);
std::string_view trim_right(std::string_view s);

// Splits at every separator; an empty text gives one empty piece.
std::vector<std::string> split(std::string_view s, char separator);

std::string join(const std::vector<std::string>& pieces, std::string_view separator);

std::string to_upper(std::string_view s);
bool iequals(std::string_view a, std::string_view b);

// Some messages break their lines with a lone carriage return ("...defined\rGroup var..."); a
// terminal or a label shows a line end only for "\n": every "\r\n" and lone "\r" becomes "\n".
std::string with_newlines(std::string_view text);

}  // namespace vesk
