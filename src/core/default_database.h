#pragma once

#include <string>

namespace vesk {

// The database the programs use when none is named: $VESK_DB when set, else
// $XDG_DATA_HOME/vesk/vesk.db, else ~/.local/share/vesk/vesk.db. The folder is created when it
// is missing (vesk::Error when it cannot be).
std::string default_database_path();

}  // namespace vesk
