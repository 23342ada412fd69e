#pragma once

#include <functional>
#include <string>

#include "core/database.h"

namespace vesk {

// True when table data may be written anew instead of changed in place: nothing in the schema
// refers to it that a new table would lose or leave pointing nowhere (a trigger, a view, an index
// of its own).
bool data_can_be_rewritten(Database& db);

// Writes table data anew, in the caller's transaction, with column computed by expression over the
// old record and every other column copied: the table is set aside, made again from its own
// definition, filled, and the old one dropped. bind binds the parameters of the copying insert.
// Where most records change, this costs less than an update: new pages need no journal, so the
// engine never waits for the journal to reach the disk when its cache fills with changed pages.
void rewrite_data(Database& db, const std::string& column, const std::string& expression,
                  const std::function<void(Statement&)>& bind);

}  // namespace vesk
