#pragma once

#include <string>

#include "core/error.h"

namespace vesk {

// "cannot write TARGET: REASON" for errno's value; a full disk is called "disk full", whether a
// file or the database ran out of room.
Error write_failure(const std::string& target, int error_number);

// "the file PATH", the target of write_failure for a file.
std::string file_target(const std::string& path);

}  // namespace vesk
