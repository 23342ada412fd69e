#include "core/write_failure.h"

#include <cerrno>
#include <cstring>

namespace vesk {

Error write_failure(const std::string& target, int error_number) {
    const std::string reason = std::strerror(error_number);
    return Error("cannot write " + target + ": " +
                 (error_number == ENOSPC ? "disk full (" + reason + ")" : reason));
}

std::string file_target(const std::string& path) {
    return "the file " + path;
}

}  // namespace vesk
