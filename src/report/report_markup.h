#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vesk {

// Text as HTML and SVG content or attribute value. Data files may hold any bytes: a byte that is
// not part of valid UTF-8, and a control character XML does not allow, become U+FFFD, so the
// document stays well-formed whatever the data hold.
std::string escape_markup(std::string_view text);

// Characters (code points) of UTF-8 text; a stray byte counts as one.
std::size_t utf8_length(std::string_view text);
// The first count characters of UTF-8 text, never cutting one in two.
std::string utf8_prefix(std::string_view text, std::size_t count);

}  // namespace vesk
