#pragma once

#include <string>
#include <string_view>

#include "layout/layout_source.h"

namespace vesk {

// True when the text is an XML document whose root is a DDI codeBook.
bool is_ddi_codebook(std::string_view text);

// The variables of a DDI-Codebook 2.x document: each var's name, its location (StartPos, EndPos,
// width), its varFormat type, its dcml decimals and the record groups (rectype) it belongs to;
// the record groups of fileStrc give the record type field. Throws vesk::Error naming the line
// when the XML is not well formed or describes no variable.
LayoutSource read_ddi_codebook(std::string_view text, const std::string& path);

}  // namespace vesk
