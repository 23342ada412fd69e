#pragma once

#include <QString>

#include <string>

namespace vesk {

// The main window's title: the database file the work goes into (name, then folder), so two
// windows on two rounds' databases are told apart, followed by the program's title.
QString database_title(const std::string& database_path);

}  // namespace vesk
