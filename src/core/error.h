#pragma once

#include <stdexcept>
#include <string>

namespace vesk {

// A failure the caller can show to the user as it stands: the text says what went wrong.
class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace vesk
