#include "forms/database_title.h"

#include <QDir>
#include <QFileInfo>

#include "platform/user_interface.h"

namespace vesk {

QString database_title(const std::string& database_path) {
    // The separator window managers put between a title and the program's name.
    const QString separator = QStringLiteral(" \u2014 ");
    // The engine's names for a database without a file.
    if (database_path.empty() || database_path == ":memory:") {
        return QStringLiteral("database in memory") + separator + product_title();
    }
    const QFileInfo file(QString::fromStdString(database_path));
    return file.fileName() + QStringLiteral(" (") + QDir::toNativeSeparators(file.absolutePath()) +
           QStringLiteral(")") + separator + product_title();
}

}  // namespace vesk
