#pragma once

#include <string>
#include <string_view>

#include "layout/layout_source.h"

namespace vesk {

// True when the text holds a Stata dictionary ("[infile] dictionary ... {") or an infix command.
bool is_stata_syntax(std::string_view text);

// The variables of a Stata dictionary ("_column(#) [type] name %#s|%#.#f", _skip, _line,
// _newline) or of an infix command or dictionary ("[type] name [#:]start[-end]"). %w.df gives
// implied decimals. Comments (* at a line's start, //, /* */) are skipped, /// continues a line,
// and #delimit ; makes the semicolon end commands. Throws vesk::Error when the file holds neither.
LayoutSource read_stata_syntax(std::string_view text, const std::string& path);

}  // namespace vesk
