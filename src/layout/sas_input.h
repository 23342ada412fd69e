#pragma once

#include <string>
#include <string_view>

#include "layout/layout_source.h"

namespace vesk {

// True when the text holds a DATA step with an INPUT statement.
bool is_sas_input(std::string_view text);

// The variables of the INPUT statements of a SAS program: column input ("name $ start-end",
// "name start-end .d"), formatted input ("@start name $w.", "name w.d", "$CHARw.", "Fw.d", other
// informats), the pointers @n, +n, #n and /, a trailing @, and record types read as
// "INPUT RECTYPE $ 1 @; IF RECTYPE = 'H' THEN INPUT ...;" (or THEN DO; INPUT ...; END;).
// Comments (/* */ and * ...;) are skipped. Throws vesk::Error when no INPUT statement gives a
// column.
LayoutSource read_sas_input(std::string_view text, const std::string& path);

}  // namespace vesk
