#pragma once

#include <string>
#include <string_view>

#include "layout/layout_source.h"

namespace vesk {

// Reads a layout file of any kind vesk knows, told from its content, not its name: a CSV layout,
// a DDI codebook, SPSS syntax, a SAS program or a Stata dictionary or infix command. A UTF-8
// byte-order mark at the start is skipped. Throws vesk::Error naming the file when it cannot be
// read or is none of these.
LayoutSource read_layout_file(const std::string& path);

// The same for text already read.
LayoutSource read_layout_text(std::string_view text, const std::string& path);

}  // namespace vesk
