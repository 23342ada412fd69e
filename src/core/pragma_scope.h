#pragma once

#include <string>

#include "core/database.h"

namespace vesk {

// Sets a pragma of the connection for a piece of work and gives it back its value afterwards.
class PragmaScope {
  public:
    PragmaScope(Database& db, const std::string& name, const std::string& value);
    ~PragmaScope();
    PragmaScope(const PragmaScope&) = delete;
    PragmaScope& operator=(const PragmaScope&) = delete;

  private:
    Database& db_;
    std::string name_;
    std::string previous_;
};

}  // namespace vesk
